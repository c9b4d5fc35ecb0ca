#pragma once

#include "link/FieldbusDriver.h"
#include "link/ParChannel.h"
#include "sim/SimSerialServer.h"
#include "status/PollState.h"
#include "support/DriverLibraries.h"
#include "support/LinkWorld.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace vg::test {

// Not a mode of the settings: the fieldbus through the simulated unit's driver library,
// loaded as any driver is.
constexpr CommMode FieldbusThroughDriver = static_cast<CommMode>(3);

// A link to the simulated unit in either mode: over a real pseudo-terminal to an in-process
// simulator thread, or through the in-process fieldbus slave. The unit is the same object in
// both cases, so tests turn the same knobs. Through the driver library, the unit is the one
// inside it, cleared of its demonstration tools.
struct UnitWorld {
    // `clock` drives the unit's scanner motion; tests that follow a motion tick by tick pass
    // one they advance themselves (not through the driver library).
    explicit UnitWorld(CommMode mode, sim::SimUnit::ClockFunction clock = sim::SimUnit::Clock::now)
        : World(mode == FieldbusThroughDriver ? CommMode::Fieldbus : mode, std::move(clock)) {
        Par.Timeout = std::chrono::milliseconds(300);
        ErrorCode error = 0;
        if (mode == FieldbusThroughDriver) {
            DriverUnit = std::make_unique<SimDriverUnit>();
            UnitInUse = DriverUnit->Unit;
            for (int tool = 0; tool < 128; ++tool) {
                UnitInUse->SetTool(tool, {});
            }
            Driver = std::make_unique<FieldbusDriver>(DriverLibrary("vgdp-sim"));
            World.Fieldbus.UseMaster(*Driver);
        }
        if (mode == CommMode::Serial) {
            Server = std::make_unique<sim::SimSerialServer>(World.BusUnit);
            std::string why;
            if (!Server->Open(why)) {
                throw std::runtime_error(why);
            }
            Server->Start();
            if (!World.OpenSerial(Server->DevicePath())) {
                throw std::runtime_error("cannot open the simulator's terminal");
            }
        } else if (!World.Link.Open(1, error)) {
            throw std::runtime_error("cannot open the fieldbus");
        }
    }

    sim::SimUnit& Unit() const { return *UnitInUse; }

    std::unique_ptr<SimDriverUnit> DriverUnit;
    std::unique_ptr<FieldbusDriver> Driver;
    LinkWorld World;
    sim::SimUnit* UnitInUse = &World.BusUnit;
    PollState Poll;
    ParChannel Par{World.Link, Poll.RequestOutstanding};
    std::unique_ptr<sim::SimSerialServer> Server;
};

inline std::string ModeName(const ::testing::TestParamInfo<CommMode>& info) {
    if (info.param == FieldbusThroughDriver) {
        return "FieldbusDriver";
    }
    return info.param == CommMode::Serial ? "Serial" : "Fieldbus";
}

} // namespace vg::test
