#include "sim/SimUnit.h"

#include <algorithm>
#include <cstdlib>

namespace vg::sim {

namespace {
constexpr int FirstFirmwareParameter = 26;
constexpr int LastByteParameter = 15;
constexpr size_t LogLimit = 4096;
constexpr uint16_t MisstoreOffset = 100; // hundredths of a degree

// Keeps the newer half when a log is full.
void AppendBounded(std::vector<DeviceRequest>& log, const DeviceRequest& request) {
    if (log.size() == LogLimit) {
        log.erase(log.begin(), log.begin() + LogLimit / 2);
    }
    log.push_back(request);
}

// Tool slots by the low three bits of the variant.
constexpr std::array<int, 8> CapacityByVariant = {32, 0, 32, 64, 128, 0, 32, 32};

bool IsParameterRequest(uint8_t code) {
    return code == RequestCode::ParameterRead || code == RequestCode::ParameterWrite;
}

bool IsToolRequest(uint8_t code) {
    return code == RequestCode::ToolRead || code == RequestCode::ToolWrite ||
           code == RequestCode::ToolDelete;
}
} // namespace

SimUnit::SimUnit(ClockFunction clock) : Now(std::move(clock)) {
    // A plausible unit: defaults as a new unit leaves the factory.
    Params[0] = 1;    // default intensity
    Params[1] = 1;    // out1 polarity
    Params[2] = 1;    // out2 polarity
    Params[3] = 1;    // monitoring
    Params[4] = 1;    // rotation direction
    Params[5] = 30;   // default tolerance, tenths
    Params[6] = 1;    // scanner model
    Params[9] = 0xE0; // default angle 12000, low byte
    Params[10] = 0x2E;
    Params[12] = 1;  // power-on move
    Params[13] = 1;  // signal mode
    Params[14] = 20; // out pulse time 20 ms
    Params[26] = 4;  // variant: 128 tools
    Params[27] = 8;  // firmware date 24/08/04
    Params[28] = 24;
    Params[29] = 4;
    Params[30] = 4; // firmware 1.04
    Params[31] = 1;
    SetCuId("00001234");
    Scanner.Began = Now();
}

std::optional<SimReply> SimUnit::HandleRequest(const DeviceRequest& request) {
    std::lock_guard lock(Mutex);
    AppendBounded(Received, request);
    ++AllRequests;
    if (IsSilent) {
        return std::nullopt;
    }
    const uint8_t code = request[1];
    if (IsParameterRequest(code) || IsToolRequest(code)) {
        const long long index = ChannelRequests++;
        AppendBounded(RequestLog, request);
        const bool faulty = index >= FaultKnobs.FirstRequest &&
                            index - FaultKnobs.FirstRequest < FaultKnobs.RequestCount;
        if (faulty && FaultKnobs.NoReply) {
            return std::nullopt;
        }
        return IsToolRequest(code) ? ToolReply(request, faulty) : ParameterReply(request, faulty);
    }
    switch (code) {
    case RequestCode::Start:
        BeginMotion(MotionKind::Start, MessageWord(request),
                    static_cast<uint16_t>(request[3] * 10));
        break;
    case RequestCode::Teach:
        BeginMotion(MotionKind::Teach, MessageWord(request), 0);
        break;
    case RequestCode::GoToPosition:
        BeginMotion(MotionKind::GoToPosition, MessageWord(request), 0);
        break;
    case RequestCode::GoBack:
        BeginMotion(MotionKind::GoBack, 0, 0);
        break;
    default:
        break;
    }
    SimReply reply;
    reply.Bytes = StatusRecordLocked(code == RequestCode::StatusKind1 ? 1 : 0);
    return reply;
}

SimReply SimUnit::ParameterReply(const DeviceRequest& request, bool faulty) {
    const int number = request[0];
    const bool isRead = request[1] == RequestCode::ParameterRead;
    const bool wordMode = (request[2] & 0x80) != 0;
    const size_t index = request[2] & 0x7F;
    SimReply reply;
    reply.Bytes[0] = static_cast<uint8_t>(number);
    reply.Bytes[1] = ReplyFlag::ParameterReply | ReplyFlag::Acknowledged;
    if (isRead ? !ParameterReadable(number) : !ParameterWritable(number)) {
        reply.Bytes[1] =
            ReplyFlag::ParameterReply | (isRead ? ReplyFlag::ReadRefused : ReplyFlag::WriteRefused);
        return reply;
    }
    const size_t width = wordMode ? 2 : 1;
    if (index + width > ParameterSize(number)) {
        reply.Bytes[2] = 0x01; // element not accepted
        return reply;
    }
    ApplyChannelFaults(reply, isRead, faulty);
    if (reply.Bytes[1] != (ReplyFlag::ParameterReply | ReplyFlag::Acknowledged) ||
        reply.Bytes[2] != 0) {
        return reply; // a refused request changes nothing
    }
    uint8_t* bytes = number == NamespaceParameter ? Namespace.data() : &Params[number];
    if (isRead) {
        reply.Bytes[4] = bytes[index];
        reply.Bytes[5] = wordMode ? bytes[index + 1] : 0;
    } else {
        bytes[index] = request[4];
        if (wordMode) {
            bytes[index + 1] = request[5];
        }
    }
    return reply;
}

SimReply SimUnit::ToolReply(const DeviceRequest& request, bool faulty) {
    const int number = request[0];
    const uint8_t code = request[1];
    const bool isRead = code == RequestCode::ToolRead;
    SimReply reply;
    reply.Bytes[0] = static_cast<uint8_t>(number);
    reply.Bytes[1] = ReplyFlag::ParameterReply | ReplyFlag::Acknowledged;
    // Even a unit without tool slots answers for tool 0.
    const int accepted = std::max(CapacityByVariant[Params[26] & 7], 1);
    if (number >= accepted || number >= static_cast<int>(Tools.size())) {
        reply.Bytes[1] =
            ReplyFlag::ParameterReply | (isRead ? ReplyFlag::ReadRefused : ReplyFlag::WriteRefused);
        return reply;
    }
    ApplyChannelFaults(reply, isRead, faulty);
    if (reply.Bytes[1] != (ReplyFlag::ParameterReply | ReplyFlag::Acknowledged) ||
        reply.Bytes[2] != 0) {
        return reply;
    }
    SimTool& tool = Tools[number];
    if (code == RequestCode::ToolWrite) {
        tool = {true, MessageWord(request), request[3], request[2]};
        if (number == FaultKnobs.MisstoredTool) {
            tool.Angle = static_cast<uint16_t>(tool.Angle + MisstoreOffset);
        }
    } else if (code == RequestCode::ToolDelete) {
        tool.Programmed = false;
    } else if (tool.Programmed) {
        reply.Bytes[2] = tool.Intensity;
        reply.Bytes[3] = tool.Tolerance;
        SetMessageWord(reply.Bytes, tool.Angle);
    } else {
        reply.Bytes[1] |= ReplyFlag::SlotEmpty;
    }
    return reply;
}

void SimUnit::ApplyChannelFaults(SimReply& reply, bool isRead, bool faulty) const {
    if (!faulty) {
        return;
    }
    if (FaultKnobs.SoftError) {
        reply.Bytes[1] = ReplyFlag::ParameterReply;
    } else if (isRead && FaultKnobs.RefuseRead) {
        reply.Bytes[1] = ReplyFlag::ParameterReply | ReplyFlag::ReadRefused;
    } else if (!isRead && FaultKnobs.RefuseWrite) {
        reply.Bytes[1] = ReplyFlag::ParameterReply | ReplyFlag::WriteRefused;
    } else if (FaultKnobs.ElementNotAccepted) {
        reply.Bytes[2] = 0x01;
    }
    if (FaultKnobs.WrongEcho) {
        reply.Bytes[0] = static_cast<uint8_t>(reply.Bytes[0] + 1);
    }
    reply.CorruptChecksum = FaultKnobs.CorruptChecksum;
}

void SimUnit::BeginMotion(MotionKind kind, uint16_t target, uint16_t limit) {
    const auto now = Now();
    Motion next;
    next.Kind = kind;
    next.Began = now;
    next.From = AngleAt(now);
    next.To = target;
    next.Limit = limit;
    if (kind == MotionKind::Teach) {
        // A teach sweeps up to its maximum angle and stops where it finds the object.
        next.To = std::min(target, ObjectAngle);
        next.Limit = target;
    }
    Scanner = next;
}

uint16_t SimUnit::AngleAt(Clock::time_point now) const {
    if (Scanner.Kind == MotionKind::Idle || Arrived(now)) {
        return Scanner.To;
    }
    const auto elapsed = std::chrono::duration<double>(now - Scanner.Began).count();
    const auto travelled = static_cast<int>(Speed * std::max(elapsed, 0.0));
    return static_cast<uint16_t>(Scanner.To > Scanner.From ? Scanner.From + travelled
                                                           : Scanner.From - travelled);
}

bool SimUnit::Arrived(Clock::time_point now) const {
    const auto elapsed = std::chrono::duration<double>(now - Scanner.Began).count();
    const double distance = std::abs(static_cast<int>(Scanner.To) - Scanner.From);
    return Speed * elapsed >= distance;
}

uint8_t SimUnit::StateBits(Clock::time_point now) const {
    constexpr uint8_t ZeroPosition = 0x01, Scanning = 0x02, Out1 = 0x08, Out2 = 0x10;
    if (Scanner.Kind != MotionKind::Idle && !Arrived(now)) {
        return Scanning;
    }
    uint8_t bits = Scanner.To == 0 ? ZeroPosition : 0;
    if (Scanner.Kind == MotionKind::Teach) {
        bits |= ObjectAngle <= Scanner.Limit ? Out1 : Out2;
    } else if (Scanner.Kind == MotionKind::Start) {
        const int miss = std::abs(static_cast<int>(ObjectAngle) - Scanner.To);
        bits |= miss <= Scanner.Limit ? Out1 : Out2;
    }
    return bits;
}

DeviceReply SimUnit::StatusRecordLocked(int kind) const {
    const auto now = Now();
    DeviceReply record{};
    record[0] = kind == 1 ? ActualTool : CurrentTool;
    record[1] = StateBits(now);
    record[3] = ErrorBits;
    SetMessageWord(record, AngleAt(now));
    return record;
}

size_t SimUnit::ParameterSize(int number) const {
    return number == NamespaceParameter ? NamespaceSize : 1;
}

bool SimUnit::ParameterReadable(int number) const {
    return (number >= 0 && number <= LastByteParameter) ||
           (number >= FirstFirmwareParameter && number <= NamespaceParameter);
}

bool SimUnit::ParameterWritable(int number) const {
    return (number >= 0 && number <= LastByteParameter) || number == NamespaceParameter;
}

void SimUnit::SetVariant(uint8_t variant) {
    std::lock_guard lock(Mutex);
    Params[26] = variant;
}

void SimUnit::SetFirmware(uint8_t major, uint8_t minor) {
    std::lock_guard lock(Mutex);
    Params[31] = major;
    Params[30] = minor;
}

void SimUnit::SetFirmwareDate(uint8_t first, uint8_t second, uint8_t third) {
    std::lock_guard lock(Mutex);
    Params[28] = first;
    Params[27] = second;
    Params[29] = third;
}

void SimUnit::SetCuId(const std::string& eightDigits) {
    std::lock_guard lock(Mutex);
    Namespace.fill(0);
    std::copy_n(eightDigits.begin(), std::min<size_t>(eightDigits.size(), 8), Namespace.begin());
    // A stamp as the unit keeps it: year, month, day, hour, minute, second.
    constexpr std::array<uint16_t, 6> Stamp = {2026, 12, 7, 8, 0, 0};
    for (size_t i = 0; i < Stamp.size(); ++i) {
        Namespace[8 + 2 * i] = static_cast<uint8_t>(Stamp[i] & 0xFF);
        Namespace[9 + 2 * i] = static_cast<uint8_t>(Stamp[i] >> 8);
    }
}

void SimUnit::SetNamespaceBlock(const std::array<uint8_t, NamespaceSize>& block) {
    std::lock_guard lock(Mutex);
    Namespace = block;
}

std::array<uint8_t, SimUnit::NamespaceSize> SimUnit::NamespaceBlock() const {
    std::lock_guard lock(Mutex);
    return Namespace;
}

void SimUnit::SetParameter(int number, uint8_t value) {
    std::lock_guard lock(Mutex);
    if (number >= 0 && number < static_cast<int>(Params.size())) {
        Params[number] = value;
    }
}

uint8_t SimUnit::Parameter(int number) const {
    std::lock_guard lock(Mutex);
    return number >= 0 && number < static_cast<int>(Params.size()) ? Params[number] : 0;
}

void SimUnit::SetTool(int number, const SimTool& tool) {
    std::lock_guard lock(Mutex);
    if (number >= 0 && number < static_cast<int>(Tools.size())) {
        Tools[number] = tool;
    }
}

SimTool SimUnit::Tool(int number) const {
    std::lock_guard lock(Mutex);
    return number >= 0 && number < static_cast<int>(Tools.size()) ? Tools[number] : SimTool{};
}

int SimUnit::ToolCapacity() const {
    std::lock_guard lock(Mutex);
    return CapacityByVariant[Params[26] & 7];
}

void SimUnit::SetCurrentTool(uint8_t tool) {
    std::lock_guard lock(Mutex);
    CurrentTool = tool;
}

void SimUnit::SetActualTool(uint8_t tool) {
    std::lock_guard lock(Mutex);
    ActualTool = tool;
}

void SimUnit::SetErrorBits(uint8_t bits) {
    std::lock_guard lock(Mutex);
    ErrorBits = bits;
}

void SimUnit::SetObjectAngle(uint16_t hundredths) {
    std::lock_guard lock(Mutex);
    ObjectAngle = hundredths;
}

void SimUnit::SetSpeed(uint32_t hundredthsPerSecond) {
    std::lock_guard lock(Mutex);
    Speed = std::max<uint32_t>(hundredthsPerSecond, 1);
}

DeviceReply SimUnit::StatusRecord(int kind) const {
    std::lock_guard lock(Mutex);
    return StatusRecordLocked(kind);
}

uint16_t SimUnit::ScannerAngle() const {
    std::lock_guard lock(Mutex);
    return AngleAt(Now());
}

void SimUnit::SetFaults(const SimFaults& faults) {
    std::lock_guard lock(Mutex);
    FaultKnobs = faults;
}

SimFaults SimUnit::Faults() const {
    std::lock_guard lock(Mutex);
    return FaultKnobs;
}

void SimUnit::SetSilent(bool silent) {
    std::lock_guard lock(Mutex);
    IsSilent = silent;
}

bool SimUnit::Silent() const {
    std::lock_guard lock(Mutex);
    return IsSilent;
}

void SimUnit::SetAnswerDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(Mutex);
    Delay = delay;
}

std::chrono::milliseconds SimUnit::AnswerDelay() const {
    std::lock_guard lock(Mutex);
    return Delay;
}

std::vector<DeviceRequest> SimUnit::ChannelRequestLog() const {
    std::lock_guard lock(Mutex);
    return RequestLog;
}

std::vector<DeviceRequest> SimUnit::RequestsReceived() const {
    std::lock_guard lock(Mutex);
    return Received;
}

int SimUnit::RequestsSeen() const {
    std::lock_guard lock(Mutex);
    return AllRequests;
}

int SimUnit::ChannelRequestsSeen() const {
    std::lock_guard lock(Mutex);
    return ChannelRequests;
}

} // namespace vg::sim
