#include "link/LineTrace.h"

#include <cstdio>
#include <vector>

namespace vg {

namespace {

std::string Hex(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// Hundredths of a degree as degrees with two decimals.
std::string Degrees(unsigned hundredths) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", hundredths / 100, hundredths % 100);
    return text;
}

// Angle word, tolerance byte in tenths and intensity byte, as the tool messages carry them.
std::string ToolValues(const DeviceMessage& m) {
    return "angle " + Degrees(MessageWord(m)) + ", tolerance " + Degrees(m[3] * 10U) +
           ", intensity " + std::to_string(m[2]);
}

bool IsToolCode(uint8_t code) {
    return code == RequestCode::ToolRead || code == RequestCode::ToolWrite ||
           code == RequestCode::ToolDelete;
}

bool IsParameterCode(uint8_t code) {
    return code == RequestCode::ParameterRead || code == RequestCode::ParameterWrite;
}

std::string ElementText(uint8_t indexByte) {
    std::string text = "element " + std::to_string(indexByte & 0x7F);
    if ((indexByte & ElementWordMode) != 0) {
        text += " (word)";
    }
    return text;
}

std::string ParameterRequest(const DeviceRequest& r) {
    const bool word = (r[2] & ElementWordMode) != 0;
    if (r[1] == RequestCode::ParameterRead) {
        return "parameter read " + std::to_string(r[0]) + ", " + ElementText(r[2]);
    }
    const unsigned value = word ? MessageWord(r) : r[4];
    return "parameter write " + std::to_string(r[0]) + ", " + ElementText(r[2]) + ", value " +
           std::to_string(value);
}

std::string ToolRequest(const DeviceRequest& r) {
    std::string tool = " ";
    tool += std::to_string(r[0]);
    switch (r[1]) {
    case RequestCode::ToolRead:
        return "tool read" + tool;
    case RequestCode::ToolWrite:
        return "tool write" + tool + ": " + ToolValues(r);
    default:
        return "tool delete" + tool;
    }
}

// The answer flags of a parameter-channel reply, in words.
std::string AnswerFlags(const DeviceReply& reply, bool tool) {
    std::vector<std::string> words;
    const uint8_t flags = reply[1];
    if ((flags & ReplyFlag::Acknowledged) != 0) {
        words.emplace_back("done");
    }
    if ((flags & ReplyFlag::WriteRefused) != 0) {
        words.emplace_back("write error");
    }
    if ((flags & ReplyFlag::ReadRefused) != 0) {
        words.emplace_back("read error");
    }
    if (tool && (flags & ReplyFlag::SlotEmpty) != 0) {
        words.emplace_back("slot empty");
    }
    if (!tool && (reply[2] & ElementNotAccepted) != 0) {
        words.emplace_back("element not accepted");
    }
    if (words.empty()) {
        words.emplace_back("no flag");
    }
    std::string text = words.front();
    for (size_t i = 1; i < words.size(); ++i) {
        text += ", " + words[i];
    }
    return text + " (" + Hex(flags) + ")";
}

std::string ChannelReply(const DeviceReply& reply, const DeviceRequest& request) {
    const uint8_t code = request[1];
    const bool done = (reply[1] & ReplyFlag::Acknowledged) != 0;
    if (IsToolCode(code)) {
        std::string text = "tool " + std::to_string(reply[0]) + ": " + AnswerFlags(reply, true);
        if (code == RequestCode::ToolRead && done && (reply[1] & ReplyFlag::SlotEmpty) == 0) {
            text += ", " + ToolValues(reply);
        }
        return text;
    }
    std::string text = "parameter " + std::to_string(reply[0]) + ": " + AnswerFlags(reply, false);
    if (code == RequestCode::ParameterRead && done) {
        const bool word = (request[2] & ElementWordMode) != 0;
        text += ", value " + std::to_string(word ? MessageWord(reply) : reply[4]);
    }
    return text;
}

std::string StatusReply(const DeviceReply& reply) {
    std::string state;
    for (const auto& [bit, word] :
         {std::pair{StateBit::ZeroPosition, "zero position"},
          std::pair{StateBit::Scanning, "scanning"}, std::pair{StateBit::Out1, "Out1"},
          std::pair{StateBit::Out2, "Out2"}}) {
        if ((reply[1] & bit) != 0) {
            state += state.empty() ? word : std::string(", ") + word;
        }
    }
    return "status: tool " + std::to_string(reply[0]) + ", state " + Hex(reply[1]) +
           (state.empty() ? "" : " (" + state + ")") + ", error " + Hex(reply[3]) + ", angle " +
           Degrees(MessageWord(reply));
}

} // namespace

const char* TraceEventName(TraceEventKind kind) {
    switch (kind) {
    case TraceEventKind::PortOpen:
        return "port open";
    case TraceEventKind::PortOpenFailed:
        return "port open failed";
    case TraceEventKind::PortClose:
        return "port close";
    case TraceEventKind::HangUp:
        return "hang-up";
    case TraceEventKind::Timeout:
        return "timeout";
    case TraceEventKind::ChecksumError:
        return "checksum error";
    case TraceEventKind::FrameError:
        return "frame error";
    case TraceEventKind::Rejected:
        return "rejected by the unit";
    case TraceEventKind::FieldbusError:
        return "fieldbus read error";
    case TraceEventKind::Repeat:
        return "repeat";
    case TraceEventKind::Reconnect:
        return "reconnect";
    case TraceEventKind::UnitLost:
        return "unit lost";
    case TraceEventKind::UnitFound:
        return "unit found";
    }
    return "event";
}

std::string DescribeRequest(const DeviceRequest& request) {
    switch (request[1]) {
    case RequestCode::StatusKind0:
        return "status request";
    case RequestCode::StatusKind1:
        return "status request, kind 1";
    case RequestCode::Start:
        return "start: " + ToolValues(request);
    case RequestCode::Teach:
        return "teach: " + ToolValues(request);
    case RequestCode::GoBack:
        return "go back";
    case RequestCode::GoToPosition:
        return "go to position: " + ToolValues(request);
    default:
        break;
    }
    if (IsParameterCode(request[1])) {
        return ParameterRequest(request);
    }
    if (IsToolCode(request[1])) {
        return ToolRequest(request);
    }
    return "request code " + Hex(request[1]);
}

std::string DescribeReply(const DeviceReply& reply, const DeviceRequest& request) {
    return IsChannelBlock(reply) ? ChannelReply(reply, request) : StatusReply(reply);
}

} // namespace vg
