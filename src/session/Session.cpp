#include "session/Session.h"

#include "sim/SimCommandLine.h"

namespace vg {

Session::Session(const ProgramFolders& folders) : Folders(folders) {
    InitConfigState(Config);
    Config.DataDir = folders.Data;
    Serial.LinkDir = folders.Settings;
    sim::LoadDemoTools(BuiltInUnit);
}

Session::Session(const std::string& programDir) : Session(PortableFolders(programDir)) {}

} // namespace vg
