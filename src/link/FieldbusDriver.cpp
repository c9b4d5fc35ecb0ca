#include "link/FieldbusDriver.h"

#include "common/AsciiText.h"

#include <algorithm>
#include <dlfcn.h>
#include <thread>

namespace vg {

// The driver interface hands over the very records the transport keeps.
static_assert(VGDP_OUTPUT_RECORD_SIZE == FieldbusOutputRecordSize);
static_assert(VGDP_REQUEST_OFFSET == FieldbusRequestOffset);
static_assert(VGDP_INPUT_RECORD_SIZE == FieldbusInputRecordSize);
static_assert(VGDP_REPLY_OFFSET == FieldbusReplyOffset);
static_assert(VGDP_VALIDITY_OFFSET_1 == FieldbusValidityOffset1);
static_assert(VGDP_VALIDITY_OFFSET_2 == FieldbusValidityOffset2);

namespace {

// dlerror's text, without the library's name in front: the line that shows it names the
// library already.
std::string LoaderError(const std::string& path, const std::string& fallback) {
    const char* text = dlerror();
    std::string reason = text != nullptr ? text : fallback;
    const std::string prefix = path + ": ";
    if (reason.compare(0, prefix.size(), prefix) == 0) {
        reason.erase(0, prefix.size());
    }
    return reason;
}

// Looks `name` up in the library; false with the reason when it is not there.
template <typename Function>
bool Resolve(void* handle, const std::string& path, const char* name, Function& function,
             std::string& reason) {
    dlerror();
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) {
        reason = LoaderError(path, std::string("undefined symbol: ") + name);
        return false;
    }
    function = reinterpret_cast<Function>(symbol);
    return true;
}

uint32_t Result(int32_t code) {
    return static_cast<uint32_t>(code);
}

} // namespace

FieldbusDriver::FieldbusDriver(std::string path) : LibraryPath(std::move(path)) {
    std::string reason;
    if (!Load(reason)) {
        Unload();
        Failure = "Fieldbus driver ";
        Failure.append(EscapedText(LibraryPath)).append(": ").append(EscapedText(reason));
    }
}

FieldbusDriver::~FieldbusDriver() {
    if (MasterOpen) {
        // Whoever opened it did not close it: the library's own threads may still run.
        CloseMaster();
    }
    if (CloseFailed) {
        // A driver whose close failed may still run code of its own: unloading the library
        // would pull that code away under it. It stays loaded until the program ends.
        Calls = Functions{};
        Handle = nullptr;
        return;
    }
    Unload();
}

bool FieldbusDriver::Load(std::string& reason) {
    dlerror();
    Handle = dlopen(LibraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (Handle == nullptr) {
        reason = LoaderError(LibraryPath, "cannot be loaded");
        return false;
    }
    // The version first: a library of another version may name its functions differently.
    vgdp_abi_version_fn abiVersion = nullptr;
    if (!Resolve(Handle, LibraryPath, "vgdp_abi_version", abiVersion, reason)) {
        return false;
    }
    const int32_t version = abiVersion();
    if (version != VGDP_ABI_VERSION) {
        reason = "built for interface version " + std::to_string(version) +
                 ", this program takes version " + std::to_string(VGDP_ABI_VERSION);
        return false;
    }
    Functions found;
    const bool complete =
        Resolve(Handle, LibraryPath, "vgdp_open", found.Open, reason) &&
        Resolve(Handle, LibraryPath, "vgdp_cycle", found.Cycle, reason) &&
        Resolve(Handle, LibraryPath, "vgdp_add_slave", found.AddSlave, reason) &&
        Resolve(Handle, LibraryPath, "vgdp_write_outputs", found.WriteOutputs, reason) &&
        Resolve(Handle, LibraryPath, "vgdp_read_inputs", found.ReadInputs, reason) &&
        Resolve(Handle, LibraryPath, "vgdp_remove_slave", found.RemoveSlave, reason) &&
        Resolve(Handle, LibraryPath, "vgdp_close", found.Close, reason);
    if (complete) {
        Calls = found;
    }
    return complete;
}

void FieldbusDriver::Unload() {
    Calls = Functions{};
    if (Handle != nullptr) {
        dlclose(Handle);
        Handle = nullptr;
    }
}

uint32_t FieldbusDriver::OpenMaster(uint32_t reserved, const std::string& deviceName) {
    if (!Loaded()) {
        return DP_ERR_NO_DRIVER;
    }
    const uint32_t result = Result(Calls.Open(reserved, deviceName.c_str()));
    MasterOpen = MasterOpen || result == 0;
    return result;
}

uint32_t FieldbusDriver::CloseMaster() {
    if (!Loaded()) {
        return DP_ERR_NO_DRIVER;
    }
    const uint32_t result = Result(Calls.Close());
    MasterOpen = false;
    CloseFailed = result != 0;
    return result;
}

uint32_t FieldbusDriver::AddSlave(uint8_t station, uint8_t* outputRecord, uint32_t mode) {
    return Loaded() ? Result(Calls.AddSlave(station, outputRecord, mode)) : DP_ERR_NO_DRIVER;
}

uint32_t FieldbusDriver::RemoveSlave(uint8_t station) {
    return Loaded() ? Result(Calls.RemoveSlave(station)) : DP_ERR_NO_DRIVER;
}

uint32_t FieldbusDriver::ReadInputs(uint8_t station, uint8_t* inputRecord, uint32_t mode) {
    return Loaded() ? Result(Calls.ReadInputs(station, inputRecord, mode)) : DP_ERR_NO_DRIVER;
}

uint32_t FieldbusDriver::WriteOutputs(uint8_t station, uint8_t* outputRecord) {
    return Loaded() ? Result(Calls.WriteOutputs(station, outputRecord)) : DP_ERR_NO_DRIVER;
}

uint32_t FieldbusDriver::RunCycle() {
    return Loaded() ? Result(Calls.Cycle()) : DP_ERR_NO_DRIVER;
}

void FieldbusDriver::WaitForInputs(Clock::time_point deadline) {
    std::this_thread::sleep_until(std::min(deadline, Clock::now() + BusCycle));
}

} // namespace vg
