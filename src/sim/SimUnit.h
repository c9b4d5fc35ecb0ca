#pragma once

#include "link/DeviceMessage.h"

#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vg::sim {

// One tool slot as the unit holds it.
struct SimTool {
    bool Programmed = false;
    uint16_t Angle = 0;    // hundredths of a degree
    uint8_t Tolerance = 0; // tenths of a degree
    uint8_t Intensity = 0;
};

// Faults a test can switch on. The channel faults hit parameter and tool requests only,
// counted from 0 in the order the unit receives them, within [FirstRequest, FirstRequest +
// RequestCount).
struct SimFaults {
    bool NoReply = false;            // the request goes unanswered
    bool CorruptChecksum = false;    // the reply frame carries a wrong checksum (serial line)
    bool WrongEcho = false;          // the reply names another parameter or tool
    bool RefuseRead = false;         // reads answered with the read-error flag
    bool RefuseWrite = false;        // writes answered with the write-error flag
    bool ElementNotAccepted = false; // acknowledged, but the element flag is set
    bool SoftError = false;          // answered with none of the expected flags
    // Every write of this tool is answered as done, but the unit keeps an angle one degree
    // greater than it was sent (-1: none).
    int MisstoredTool = -1;
    int FirstRequest = 0;
    int RequestCount = INT_MAX;
};

// What the unit sends back for one request.
struct SimReply {
    DeviceReply Bytes{};
    bool CorruptChecksum = false;
};

// A model of the control unit: parameters, firmware identification, the namespace block,
// the tool table, the status records of both kinds and a scanner that moves over time.
// Thread-safe: the serial front end runs it on its own thread while tests turn its knobs.
class SimUnit {
public:
    using Clock = std::chrono::steady_clock;
    using ClockFunction = std::function<Clock::time_point()>;

    static constexpr int ParameterCount = 33;
    static constexpr int NamespaceParameter = 32;
    static constexpr size_t NamespaceSize = 20;

    explicit SimUnit(ClockFunction clock = Clock::now);

    // Handles one request; no value when the unit stays silent.
    std::optional<SimReply> HandleRequest(const DeviceRequest& request);

    // The unit's configuration.
    void SetVariant(uint8_t variant);
    void SetFirmware(uint8_t major, uint8_t minor);
    void SetFirmwareDate(uint8_t first, uint8_t second, uint8_t third);
    void SetCuId(const std::string& eightDigits);
    void SetNamespaceBlock(const std::array<uint8_t, NamespaceSize>& block);
    std::array<uint8_t, NamespaceSize> NamespaceBlock() const;
    void SetParameter(int number, uint8_t value);
    uint8_t Parameter(int number) const;
    void SetTool(int number, const SimTool& tool);
    SimTool Tool(int number) const;
    int ToolCapacity() const;

    // The live status.
    void SetCurrentTool(uint8_t tool);
    void SetActualTool(uint8_t tool);
    void SetErrorBits(uint8_t bits);
    void SetObjectAngle(uint16_t hundredths); // where a teach or start finds the object
    void SetSpeed(uint32_t hundredthsPerSecond);
    DeviceReply StatusRecord(int kind) const;
    uint16_t ScannerAngle() const;

    // Faults.
    void SetFaults(const SimFaults& faults);
    SimFaults Faults() const;
    void SetSilent(bool silent); // the unit is gone: nothing is answered at all
    bool Silent() const;
    void SetAnswerDelay(std::chrono::milliseconds delay);
    std::chrono::milliseconds AnswerDelay() const;
    int ChannelRequestsSeen() const;
    // Every request that reached the unit so far, status requests and commands included.
    int RequestsSeen() const;
    // The parameter and tool requests received so far (the most recent ones, for tests).
    std::vector<DeviceRequest> ChannelRequestLog() const;
    // Every request that reached the unit, status requests and commands included, answered
    // or not (the most recent ones, for tests).
    std::vector<DeviceRequest> RequestsReceived() const;

private:
    enum class MotionKind { Idle, GoToPosition, GoBack, Start, Teach };
    struct Motion {
        MotionKind Kind = MotionKind::Idle;
        Clock::time_point Began{};
        uint16_t From = 0;
        uint16_t To = 0;
        // start: the tolerance in hundredths; teach: the maximum angle of the sweep
        uint16_t Limit = 0;
    };

    SimReply ParameterReply(const DeviceRequest& request, bool faulty);
    SimReply ToolReply(const DeviceRequest& request, bool faulty);
    void ApplyChannelFaults(SimReply& reply, bool isRead, bool faulty) const;
    void BeginMotion(MotionKind kind, uint16_t target, uint16_t limit);
    uint16_t AngleAt(Clock::time_point now) const;
    bool Arrived(Clock::time_point now) const;
    uint8_t StateBits(Clock::time_point now) const;
    size_t ParameterSize(int number) const;
    bool ParameterReadable(int number) const;
    bool ParameterWritable(int number) const;
    DeviceReply StatusRecordLocked(int kind) const;

    mutable std::mutex Mutex;
    ClockFunction Now;
    std::array<uint8_t, 32> Params{};
    std::array<uint8_t, NamespaceSize> Namespace{};
    std::array<SimTool, 128> Tools{};
    uint8_t CurrentTool = 0;
    uint8_t ActualTool = 0;
    uint8_t ErrorBits = 0;
    uint16_t ObjectAngle = 6543;
    uint32_t Speed = 9000;
    Motion Scanner;
    SimFaults FaultKnobs;
    bool IsSilent = false;
    std::chrono::milliseconds Delay{0};
    int ChannelRequests = 0;
    int AllRequests = 0;
    std::vector<DeviceRequest> RequestLog;
    std::vector<DeviceRequest> Received;
};

} // namespace vg::sim
