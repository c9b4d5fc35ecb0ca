#pragma once

#include "link/DeviceMessage.h"
#include "link/FieldbusMaster.h"
#include "sim/SimUnit.h"

#include <condition_variable>
#include <mutex>
#include <optional>

namespace vg::sim {

// A fieldbus master with the simulated unit as its one slave, so fieldbus mode works out of
// the box as a demonstration unit. Each exchange cycle hands the slave its outputs: a status
// request is answered on every cycle, any other request once when it first appears.
class SimFieldbusMaster : public FieldbusMaster {
public:
    // Result codes of this master.
    static constexpr uint32_t ErrNotOpen = 0x0101;
    static constexpr uint32_t ErrNoSlave = 0x0102;

    SimFieldbusMaster(SimUnit& unit, uint8_t station = 50) : Unit(unit), SlaveStation(station) {}

    uint32_t OpenMaster(uint32_t reserved, const std::string& deviceName) override;
    uint32_t CloseMaster() override;
    uint32_t AddSlave(uint8_t station, uint8_t* outputRecord, uint32_t mode) override;
    uint32_t RemoveSlave(uint8_t station) override;
    uint32_t ReadInputs(uint8_t station, uint8_t* inputRecord, uint32_t mode) override;
    uint32_t WriteOutputs(uint8_t station, uint8_t* outputRecord) override;
    uint32_t RunCycle() override;
    void WaitForInputs(Clock::time_point deadline) override;

    // Fault knob: what OpenMaster answers (0 = success).
    void SetOpenResult(uint32_t result);
    bool IsOpen() const;

private:
    void PublishDueReply(); // caller holds the lock

    SimUnit& Unit;
    uint8_t SlaveStation;
    mutable std::mutex Mutex;
    std::condition_variable InputsChanged;
    uint32_t OpenResult = 0;
    bool MasterOpen = false;
    bool SlaveAdded = false;
    DeviceRequest Outputs{};
    std::optional<DeviceRequest> LastHandled;
    DeviceReply Inputs{};
    bool InputsValid = false;
    std::optional<DeviceReply> DueReply;
    Clock::time_point DueAt{};
    uint64_t Generation = 0;
    uint64_t GenerationRead = 0;
};

} // namespace vg::sim
