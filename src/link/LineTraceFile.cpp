#include "link/LineTraceFile.h"

#include "common/FileIo.h"
#include "common/ProgramInfo.h"
#include "link/FrameCodec.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
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

// "2026-12-07T23:58:01.250Z"
std::string WallClockText(std::chrono::system_clock::time_point when) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
    const std::time_t seconds = static_cast<std::time_t>(ms.count() / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[40] = {};
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%03dZ", static_cast<int>(ms.count() % 1000));
    return text;
}

// A regular file that holds something is written only when it is a trace already: it then
// begins with the head line. EEXIST (with `notTrace`) when it is something else.
bool MayAppendTo(int fd, const std::string& target, bool& notTrace) {
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        return false;
    }
    if (!S_ISREG(info.st_mode) || info.st_size == 0) {
        return true; // a device or a pipe is written as a stream; an empty file holds nothing
    }
    const UniqueFd reader(open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat read {};
    if (!reader.IsOpen() || fstat(reader.Get(), &read) != 0) {
        return false;
    }
    const std::string prefix = LineTraceFile::HeadPrefix;
    std::string start(prefix.size(), '\0');
    const size_t got = ReadUpTo(reader.Get(), start.data(), start.size());
    if (read.st_dev != info.st_dev || read.st_ino != info.st_ino || got != start.size() ||
        start != prefix) {
        notTrace = true;
        errno = EEXIST;
        return false;
    }
    return true;
}

} // namespace

bool LineTraceFile::Open(const std::string& path, const std::string& program) {
    Close();
    const std::lock_guard write(WriteMutex);
    const std::lock_guard lock(Mutex);
    FirstFailure = {};
    const auto fail = [&](bool notTrace) {
        FirstFailure.Record(path);
        if (notTrace) {
            FirstFailure.ReasonText = "not a line trace, and only a trace is written to";
        }
        return false;
    };
    std::string target;
    if (!ResolveWritablePath(path, target)) {
        return fail(false);
    }
    // Not blocking on the open: a named pipe nobody reads would hold the program here. The
    // file is never emptied: what it holds is either another trace or not ours to touch.
    constexpr int Flags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    UniqueFd fd(open(target.c_str(), Flags));
    if (!fd.IsOpen() && errno == ENOENT) {
        fd = UniqueFd(open(target.c_str(), Flags | O_CREAT | O_EXCL, 0666));
    }
    bool notTrace = false;
    if (!fd.IsOpen() || !MayAppendTo(fd.Get(), target, notTrace)) {
        return fail(notTrace);
    }
    fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    std::string head = HeadPrefix;
    head.append(program).append(" ").append(ProgramVersion).append(", started ");
    head.append(WallClockText(std::chrono::system_clock::now())).append("\n");
    File = std::move(fd);
    Path = path;
    Pending = head;
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
