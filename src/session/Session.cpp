#include "session/Session.h"

#include "sim/SimCommandLine.h"

#include <filesystem>

namespace vg {

Session::Session(const std::string& programDir) {
    InitConfigState(Config);
    Config.ProgramDir = programDir;
    Serial.ProgramDir = programDir;
    sim::LoadDemoTools(BuiltInUnit);
}

std::string ExecutableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return "./";
    }
    return exe.parent_path().string() + "/";
}

} // namespace vg
