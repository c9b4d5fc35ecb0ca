#pragma once

#include "common/FileIo.h"
#include "common/WriteFailure.h"
#include "link/LineTrace.h"

#include <chrono>
#include <mutex>
#include <string>

namespace vg {

// A trace of the line in a text file. Its first line names it, the program and when it began:
//   "# VG-Config line trace: vgctl 1.4.0, started 2026-12-07T23:58:01.250Z"
// then one line per frame and per event:
//   "  1234.567 TX 01 30 30 ... 17 | parameter read 26, element 0"
//   "  1250.012 EV checksum error"
// Time in milliseconds since the trace started. Lines are gathered in memory and written by
// the user-interface thread's calls once enough has gathered or a second has passed, and when
// the trace closes: the receive thread only ever appends, it never waits for the disk.
class LineTraceFile : public LineTraceSink {
public:
    using Clock = std::chrono::steady_clock;

    LineTraceFile() = default;
    ~LineTraceFile() override { Close(); }
    LineTraceFile(const LineTraceFile&) = delete;
    LineTraceFile& operator=(const LineTraceFile&) = delete;

    // What every trace begins with.
    static constexpr const char* HeadPrefix = "# VG-Config line trace: ";

    // Starts a trace in `path` for `program`: a new file, an empty one, or one that is a trace
    // already (the new one goes after it); any other file is left alone. Links on the way are
    // followed under the rule of the saves. False with the reason in Failure when the file
    // may not or cannot be written.
    bool Open(const std::string& path, const std::string& program);
    // Writes what is left and closes the file; false when any write of this trace failed
    // (Failure says which and why). Calls after it are ignored.
    bool Close();
    bool IsOpen() const;
    WriteFailure Failure() const;

    void TraceFrame(TraceDirection direction, TraceCarrier carrier, const uint8_t* bytes,
                    size_t count) override;
    void TraceEvent(TraceEventKind kind, std::string_view detail) override;

private:
    // Appends one line; the caller holds Mutex.
    void AppendLine(const char* tag, std::string_view body);
    std::string FrameMeaning(TraceDirection direction, TraceCarrier carrier, const uint8_t* bytes,
                             size_t count);
    // Writes what has gathered when it is time to; never called from the receive thread.
    void FlushIfDue();
    // Writes to `fd` under WriteMutex, without Mutex: the receive thread appends meanwhile.
    void WriteOut(int fd, const std::string& text);
    // Keeps the first failure only (errno as it is now).
    void RecordFailure();
    bool FailureRecorded() const;

    mutable std::mutex Mutex;
    std::mutex WriteMutex; // keeps the order of two writes; taken before Mutex, never after
    UniqueFd File;
    std::string Path;
    std::string Pending;
    Clock::time_point Started{};
    Clock::time_point LastWrite{};
    DeviceRequest LastRequest{}; // what a reply most likely answers
    WriteFailure FirstFailure;
};

} // namespace vg
