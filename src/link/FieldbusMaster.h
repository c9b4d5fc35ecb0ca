#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vg {

// Sizes and offsets of the records the fieldbus master library works on.
constexpr size_t FieldbusOutputRecordSize = 1304;
constexpr size_t FieldbusInputRecordSize = 1300;
constexpr size_t FieldbusRequestOffset = 514;
constexpr size_t FieldbusReplyOffset = 771;
constexpr size_t FieldbusValidityOffset1 = 1292;
constexpr size_t FieldbusValidityOffset2 = 1296;

// The seven operations of a fieldbus (DP) master library, with the arguments and results the
// program relies on. The library's ordinal is given with each. The built-in implementation
// is the simulated unit acting as slave; FieldbusDriver puts a driver library behind it.
class FieldbusMaster {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~FieldbusMaster() = default;

    virtual uint32_t OpenMaster(uint32_t reserved, const std::string& deviceName) = 0;     // 2
    virtual uint32_t CloseMaster() = 0;                                                    // 3
    virtual uint32_t AddSlave(uint8_t station, uint8_t* outputRecord, uint32_t mode) = 0;  // 10
    virtual uint32_t RemoveSlave(uint8_t station) = 0;                                     // 11
    virtual uint32_t ReadInputs(uint8_t station, uint8_t* inputRecord, uint32_t mode) = 0; // 12
    virtual uint32_t WriteOutputs(uint8_t station, uint8_t* outputRecord) = 0;             // 13
    virtual uint32_t RunCycle() = 0;                                                       // 14

    // Not one of the library's operations: blocks until the slave's inputs may have changed
    // since the last ReadInputs (for a real master: one bus cycle), or the deadline passed.
    // It lets a caller that waits for a reply sleep instead of spinning on exchange cycles.
    virtual void WaitForInputs(Clock::time_point deadline) = 0;
};

} // namespace vg
