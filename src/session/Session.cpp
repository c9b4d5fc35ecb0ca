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

bool Session::StartLineTrace(const std::string& path) {
    Link.SetTrace(nullptr);
    if (!LineTrace.Open(path)) {
        return false;
    }
    Link.SetTrace(&LineTrace);
    return true;
}

bool Session::StopLineTrace() {
    Link.SetTrace(nullptr);
    return LineTrace.Close();
}

} // namespace vg
