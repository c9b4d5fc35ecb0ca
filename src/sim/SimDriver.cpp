// The simulated unit as a fieldbus driver library (libvgdp-sim.so): the demonstration unit the
// program has built in, behind the driver interface, so that loading a driver can be tried
// end to end without a master card.

#include "sim/SimCommandLine.h"
#include "sim/SimFieldbusMaster.h"
#include "sim/SimUnit.h"

#include <vgdp/vgdp.h>

namespace {

using vg::sim::SimFieldbusMaster;

// One unit on one bus, for the whole time the library is loaded.
struct DemoBus {
    DemoBus() { vg::sim::LoadDemoTools(Unit); }
    vg::sim::SimUnit Unit;
    SimFieldbusMaster Master{Unit};
};

DemoBus& Bus() {
    static DemoBus bus;
    return bus;
}

int32_t Result(uint32_t code) {
    return static_cast<int32_t>(code);
}

// A DP station address has 8 bits; a larger number reaches no slave.
bool OnTheBus(uint32_t station) {
    return station <= 0xFF;
}

} // namespace

extern "C" {

VGDP_EXPORT int32_t vgdp_abi_version(void) {
    return VGDP_ABI_VERSION;
}

VGDP_EXPORT int32_t vgdp_open(uint32_t zero, const char* device) {
    return Result(Bus().Master.OpenMaster(zero, device != nullptr ? device : ""));
}

VGDP_EXPORT int32_t vgdp_cycle(void) {
    return Result(Bus().Master.RunCycle());
}

VGDP_EXPORT int32_t vgdp_add_slave(uint32_t station, uint8_t* outputRecord, uint32_t one) {
    if (!OnTheBus(station)) {
        return Result(SimFieldbusMaster::ErrNoSlave);
    }
    return Result(Bus().Master.AddSlave(static_cast<uint8_t>(station), outputRecord, one));
}

VGDP_EXPORT int32_t vgdp_write_outputs(uint32_t station, uint8_t* outputRecord) {
    if (!OnTheBus(station)) {
        return Result(SimFieldbusMaster::ErrNoSlave);
    }
    return Result(Bus().Master.WriteOutputs(static_cast<uint8_t>(station), outputRecord));
}

VGDP_EXPORT int32_t vgdp_read_inputs(uint32_t station, uint8_t* inputRecord, uint32_t one) {
    if (!OnTheBus(station)) {
        return Result(SimFieldbusMaster::ErrNoSlave);
    }
    return Result(Bus().Master.ReadInputs(static_cast<uint8_t>(station), inputRecord, one));
}

VGDP_EXPORT int32_t vgdp_remove_slave(uint32_t station) {
    if (!OnTheBus(station)) {
        return Result(SimFieldbusMaster::ErrNoSlave);
    }
    return Result(Bus().Master.RemoveSlave(static_cast<uint8_t>(station)));
}

VGDP_EXPORT int32_t vgdp_close(void) {
    return Result(Bus().Master.CloseMaster());
}

// Not part of the driver interface: the unit inside, for tests that set it up and look at
// what it received.
VGDP_EXPORT vg::sim::SimUnit* vgdp_sim_unit(void) {
    return &Bus().Unit;
}

} // extern "C"
