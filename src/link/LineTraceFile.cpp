#include "link/LineTraceFile.h"

#include "common/FileIo.h"
#include "link/FrameCodec.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace vg {

namespace {

constexpr size_t WriteSize = size_t{16} * 1024;
constexpr auto WriteAge = std::chrono::seconds(1);

std::string HexBytes(const uint8_t* bytes, size_t count) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        if (i != 0) {
            text += ' ';
        }
        text += Digits[bytes[i] >> 4];
        text += Digits[bytes[i] & 0x0F];
    }
    return text;
}

std::string FrameErrorText(ErrorCode error) {
    switch (error) {
    case V24_ERR_CHECKSUM:
        return "checksum error";
    case V24_ERR_REMOTE:
        return "rejected by the unit";
    default:
        return "not one whole frame";
    }
}

} // namespace

bool LineTraceFile::Open(const std::string& path) {
    Close();
    const std::lock_guard write(WriteMutex);
    const std::lock_guard lock(Mutex);
    FirstFailure = {};
    // Not blocking on the open: a named pipe nobody reads would hold the program here.
    UniqueFd fd(
        open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
    if (!fd.IsOpen()) {
        FirstFailure.Record(path);
        return false;
    }
    fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    File = std::move(fd);
    Path = path;
    Pending.clear();
    Started = LastWrite = Clock::now();
    LastRequest = {};
    return true;
}

bool LineTraceFile::Close() {
    const std::lock_guard write(WriteMutex);
    UniqueFd fd;
    std::string rest;
    {
        const std::lock_guard lock(Mutex);
        // From here on calls from any thread are ignored.
        fd = std::move(File);
        rest.swap(Pending);
    }
    if (fd.IsOpen()) {
        WriteOut(fd.Get(), rest);
        if (!fd.Close()) {
            RecordFailure();
        }
    }
    return !FailureRecorded();
}

bool LineTraceFile::IsOpen() const {
    const std::lock_guard lock(Mutex);
    return File.IsOpen();
}

WriteFailure LineTraceFile::Failure() const {
    const std::lock_guard lock(Mutex);
    return FirstFailure;
}

void LineTraceFile::TraceFrame(TraceDirection direction, TraceCarrier carrier, const uint8_t* bytes,
                               size_t count) {
    bool due = false;
    {
        const std::lock_guard lock(Mutex);
        if (!File.IsOpen()) {
            return;
        }
        AppendLine(direction == TraceDirection::Tx ? "TX" : "RX",
                   HexBytes(bytes, count) + " | " + FrameMeaning(direction, carrier, bytes, count));
        due = direction == TraceDirection::Tx;
    }
    if (due) {
        FlushIfDue();
    }
}

void LineTraceFile::TraceEvent(TraceEventKind kind, std::string_view detail) {
    {
        const std::lock_guard lock(Mutex);
        if (!File.IsOpen()) {
            return;
        }
        std::string text = TraceEventName(kind);
        if (!detail.empty()) {
            text += ": ";
            text += detail;
        }
        AppendLine("EV", text);
    }
    FlushIfDue();
}

void LineTraceFile::AppendLine(const char* tag, std::string_view body) {
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - Started).count();
    char time[32];
    std::snprintf(time, sizeof time, "%10.3f ", ms);
    Pending += time;
    Pending += tag;
    Pending += ' ';
    Pending += body;
    Pending += '\n';
}

std::string LineTraceFile::FrameMeaning(TraceDirection direction, TraceCarrier carrier,
                                        const uint8_t* bytes, size_t count) {
    if (carrier == TraceCarrier::SerialNoise) {
        return "line noise, dropped";
    }
    DeviceMessage block{};
    if (carrier == TraceCarrier::FieldbusBlock) {
        if (count != block.size()) {
            return "not a 6-byte block";
        }
        std::copy_n(bytes, block.size(), block.begin());
    } else if (const ErrorCode error = V24_DecodeFrame(bytes, count, block); error != 0) {
        return FrameErrorText(error);
    }
    if (direction == TraceDirection::Tx) {
        LastRequest = block;
        return DescribeRequest(block);
    }
    return DescribeReply(block, LastRequest);
}

void LineTraceFile::FlushIfDue() {
    const std::lock_guard write(WriteMutex);
    std::string text;
    int fd = -1;
    {
        const std::lock_guard lock(Mutex);
        const auto now = Clock::now();
        if (!File.IsOpen() || (Pending.size() < WriteSize && now - LastWrite < WriteAge)) {
            return;
        }
        text.swap(Pending);
        LastWrite = now;
        fd = File.Get();
    }
    WriteOut(fd, text);
}

void LineTraceFile::WriteOut(int fd, const std::string& text) {
    // After a failure the rest of the trace would have a hole: nothing more is written.
    if (!FailureRecorded() && !WriteAll(fd, text)) {
        RecordFailure();
    }
}

void LineTraceFile::RecordFailure() {
    const int reason = errno;
    const std::lock_guard lock(Mutex);
    if (FirstFailure.Path.empty()) {
        errno = reason;
        FirstFailure.Record(Path);
    }
}

bool LineTraceFile::FailureRecorded() const {
    const std::lock_guard lock(Mutex);
    return !FirstFailure.Path.empty();
}

} // namespace vg
