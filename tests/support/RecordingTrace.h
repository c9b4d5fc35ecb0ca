#pragma once

#include "link/LineTrace.h"

#include <mutex>
#include <string>
#include <vector>

namespace vg::test {

// A trace that keeps what it was told, from any thread.
class RecordingTrace : public LineTraceSink {
public:
    struct Frame {
        TraceDirection Direction;
        TraceCarrier Carrier;
        std::vector<uint8_t> Bytes;
    };

    void TraceFrame(TraceDirection direction, TraceCarrier carrier, const uint8_t* bytes,
                    size_t count) override {
        const std::lock_guard lock(Mutex);
        Seen.push_back({direction, carrier, std::vector<uint8_t>(bytes, bytes + count)});
    }
    void TraceEvent(TraceEventKind kind, std::string_view detail) override {
        const std::lock_guard lock(Mutex);
        Kinds.push_back(kind);
        Details.emplace_back(detail);
    }

    // What the events of `kind` said, in order.
    std::vector<std::string> DetailsOf(TraceEventKind kind) const {
        const std::lock_guard lock(Mutex);
        std::vector<std::string> found;
        for (size_t i = 0; i < Kinds.size(); ++i) {
            if (Kinds[i] == kind) {
                found.push_back(Details[i]);
            }
        }
        return found;
    }

    std::vector<TraceEventKind> Events() const {
        const std::lock_guard lock(Mutex);
        return Kinds;
    }
    std::vector<Frame> Frames() const {
        const std::lock_guard lock(Mutex);
        return Seen;
    }
    void Clear() {
        const std::lock_guard lock(Mutex);
        Kinds.clear();
        Details.clear();
        Seen.clear();
    }

private:
    mutable std::mutex Mutex;
    std::vector<TraceEventKind> Kinds;
    std::vector<std::string> Details;
    std::vector<Frame> Seen;
};

} // namespace vg::test
