#pragma once

#include "sim/SimUnit.h"

#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace vg::test {

// A fieldbus driver library the build makes: "vgdp-sim" is <lib>/libvgdp-sim.so.
inline std::string DriverLibrary(const std::string& name) {
    return std::string(VG_LIB_DIR) + "/lib" + name + ".so";
}

// The simulated unit inside the loaded libvgdp-sim.so, for a test to set up and look at; the
// library stays loaded while this lives.
class SimDriverUnit {
public:
    SimDriverUnit() : Handle(dlopen(DriverLibrary("vgdp-sim").c_str(), RTLD_NOW | RTLD_LOCAL)) {
        void* symbol = Handle != nullptr ? dlsym(Handle, "vgdp_sim_unit") : nullptr;
        if (symbol == nullptr) {
            throw std::runtime_error("libvgdp-sim.so has no unit to show");
        }
        Unit = reinterpret_cast<sim::SimUnit* (*)()>(symbol)();
    }
    ~SimDriverUnit() { dlclose(Handle); }
    SimDriverUnit(const SimDriverUnit&) = delete;
    SimDriverUnit& operator=(const SimDriverUnit&) = delete;

    sim::SimUnit* Unit = nullptr;

private:
    void* Handle;
};

} // namespace vg::test
