#pragma once

#include "common/ErrorCode.h"
#include "link/FieldbusMaster.h"

#include <chrono>
#include <string>
#include <vgdp/vgdp.h>

namespace vg {

// What every operation of a driver that could not be loaded answers.
constexpr ErrorCode DP_ERR_NO_DRIVER = 0xC010;

// A fieldbus master in a driver library (the vgdp interface of <vgdp/vgdp.h>), loaded with
// dlopen when constructed and unloaded when destroyed. A library that cannot be loaded, lacks
// one of the functions or was built for another version of the interface leaves the driver
// unloaded: every operation then fails with DP_ERR_NO_DRIVER, and LoadFailure says why.
// A master still open when the driver goes is closed first; a library whose last close
// failed is never unloaded, as its own threads may still run.
class FieldbusDriver final : public FieldbusMaster {
public:
    // The interface cannot wait for a slave's inputs: a waiting caller sleeps this long (one
    // bus cycle of a typical master) between reads, never past its deadline.
    static constexpr std::chrono::milliseconds BusCycle{2};

    // `path` as dlopen takes it: a name without '/' is looked up in the library folders.
    explicit FieldbusDriver(std::string path);
    ~FieldbusDriver() override;
    FieldbusDriver(const FieldbusDriver&) = delete;
    FieldbusDriver& operator=(const FieldbusDriver&) = delete;

    const std::string& Path() const { return LibraryPath; }
    bool Loaded() const { return Handle != nullptr; }
    // "Fieldbus driver PATH: what was wrong"; empty when the driver is loaded.
    const std::string& LoadFailure() const { return Failure; }

    uint32_t OpenMaster(uint32_t reserved, const std::string& deviceName) override;
    uint32_t CloseMaster() override;
    uint32_t AddSlave(uint8_t station, uint8_t* outputRecord, uint32_t mode) override;
    uint32_t RemoveSlave(uint8_t station) override;
    uint32_t ReadInputs(uint8_t station, uint8_t* inputRecord, uint32_t mode) override;
    uint32_t WriteOutputs(uint8_t station, uint8_t* outputRecord) override;
    uint32_t RunCycle() override;
    void WaitForInputs(Clock::time_point deadline) override;

private:
    struct Functions {
        vgdp_open_fn Open = nullptr;
        vgdp_cycle_fn Cycle = nullptr;
        vgdp_add_slave_fn AddSlave = nullptr;
        vgdp_write_outputs_fn WriteOutputs = nullptr;
        vgdp_read_inputs_fn ReadInputs = nullptr;
        vgdp_remove_slave_fn RemoveSlave = nullptr;
        vgdp_close_fn Close = nullptr;
    };

    // False with the reason when the library or one of its functions is not usable.
    bool Load(std::string& reason);
    void Unload();

    std::string LibraryPath;
    std::string Failure;
    void* Handle = nullptr;
    Functions Calls;
    bool MasterOpen = false;  // vgdp_open succeeded and vgdp_close has not run since
    bool CloseFailed = false; // the last vgdp_close failed
};

} // namespace vg
