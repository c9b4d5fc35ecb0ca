#include "session/Session.h"

#include "link/CommSettingsFile.h"
#include "sim/SimCommandLine.h"

namespace vg {

Session::Session(const ProgramFolders& folders) : Folders(folders) {
    InitConfigState(Config);
    Config.DataDir = folders.Data;
    Serial.LinkDir = folders.Settings;
    sim::LoadDemoTools(BuiltInUnit);
}

Session::Session(const std::string& programDir) : Session(PortableFolders(programDir)) {}

namespace {
// A relative path with a folder in it is taken from the settings' folder, where the file
// that names it lies; a bare name is left to the library search.
std::string DriverLocation(const std::string& path, const std::string& settingsFolder) {
    if (path.empty() || path.front() == '/' || path.find('/') == std::string::npos) {
        return path;
    }
    return settingsFolder + path;
}
} // namespace

bool Session::SelectFieldbusMaster() {
    const std::string wanted =
        Settings.IsSerial() ? std::string() : DriverLocation(Settings.DriverPath, Folders.Settings);
    if (wanted.empty()) {
        Fieldbus.UseMaster(BuiltInMaster);
        Driver.reset();
        return true;
    }
    // A driver that failed is tried again: the user may have put the library in place.
    if (!Driver || Driver->Path() != wanted || !Driver->Loaded()) {
        // The old driver's master, should it still be open, is closed before the library goes.
        Fieldbus.UseMaster(BuiltInMaster);
        Driver = std::make_unique<FieldbusDriver>(wanted);
    }
    Fieldbus.UseMaster(*Driver);
    return Driver->Loaded();
}

std::string Session::FieldbusDriverFailure() const {
    return Driver ? Driver->LoadFailure() : std::string();
}

std::string Session::OpenFailureDetail() const {
    return Settings.IsSerial() ? Link.OpenFailureDetail() : FieldbusDriverFailure();
}

bool Session::Connect(ErrorCode& error) {
    SelectFieldbusMaster();
    error = 0;
    Poll.LinkOpened = Link.Open(Settings.ComPortNr, error);
    if (Poll.LinkOpened && Settings.IsSerial()) {
        Serial.StartReceiver();
    }
    return Poll.LinkOpened;
}

bool Session::Disconnect(ErrorCode& error) {
    error = 0;
    if (!Poll.LinkOpened) {
        return true;
    }
    Serial.StopReceiver();
    const bool closed = Link.Close(Settings.ComPortNr, error);
    Poll.LinkOpened = false;
    return closed;
}

void Session::CloseForReopen() {
    if (Settings.IsSerial()) {
        Serial.StopReceiver();
    }
    ErrorCode ignored = 0;
    Link.Close(Settings.ComPortNr, ignored);
    Poll.LinkOpened = false;
    Poll.ReconnectRequest = true;
}

Session::SettingsApplied Session::ApplySettings(const CommSettings& settings) {
    SettingsApplied applied;
    CloseForReopen();
    Settings = settings;
    // An installed program keeps them in a folder of the user's that may not exist yet.
    const std::string& folder = Folders.Settings;
    if (!MakeFolders(folder, PrivateFolderMode)) {
        applied.NotSaved.Record(folder);
    } else if (!WriteCommSettings(Settings, folder)) {
        applied.NotSaved.Record(folder + CommSettingsFileName);
    }
    applied.DriverFailed = !SelectFieldbusMaster();
    return applied;
}

void Session::ReopenLink() {
    CloseForReopen();
}

bool Session::StartLineTrace(const std::string& path, const std::string& program) {
    Link.SetTrace(nullptr);
    if (!LineTrace.Open(path, program)) {
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
