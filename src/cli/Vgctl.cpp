#include "cli/Vgctl.h"

#include "cli/ConfigCommands.h"
#include "cli/PortsCommand.h"
#include "cli/StatusCommands.h"
#include "common/ProgramInfo.h"
#include "link/CommSettingsFile.h"

namespace vg::cli {

void ApplyLinkSettings(Session& session, const VgctlOptions& options) {
    Cfg_Read(session.Settings, session.Folders.Settings);
    if (!options.FieldbusDriver.empty()) {
        session.Settings.CommMode = CommModeFieldbus;
        session.Settings.DriverPath = options.FieldbusDriver;
    } else if (options.Fieldbus) {
        session.Settings.CommMode = CommModeFieldbus;
    } else if (options.ComPort) {
        session.Settings.CommMode = CommModeSerial;
        session.Settings.ComPortNr = static_cast<uint16_t>(*options.ComPort);
    } else if (!options.Device.empty()) {
        session.Settings.CommMode = CommModeSerial;
        session.Serial.DeviceOverride = options.Device;
    }
}

bool OpenLink(Session& session, std::ostream& err) {
    ErrorCode error = 0;
    if (!session.Connect(error)) {
        if (error != 0) {
            err << LinkOpenFailureText(error, session.OpenFailureDetail()) << '\n';
        }
        return false;
    }
    return true;
}

void CloseLink(Session& session) {
    session.Disconnect();
}

int RunVgctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool errIsTerminal) {
    VgctlOptions options;
    std::string error;
    if (!ParseVgctlOptions(args, options, error)) {
        err << "vgctl: " << error << '\n'
            << VgctlUsage << "Try 'vgctl --help' for more information.\n";
        return ExitUsage;
    }
    const ProgramFolders folders =
        options.ProgramDir.empty() ? RunningProgramFolders() : PortableFolders(options.ProgramDir);
    if (options.Help) {
        out << VgctlHelp(folders);
        return ExitSuccess;
    }
    if (options.Version) {
        out << "vgctl " << ProgramVersion << '\n';
        return ExitSuccess;
    }
    if (options.Command == "ports") {
        return RunPortsCommand(folders.Settings, SerialPortPlaces{}, options.Probe, out);
    }
    Session session(folders);
    ApplyLinkSettings(session, options);
    const bool tracing = !options.TraceFile.empty();
    if (tracing && !session.StartLineTrace(options.TraceFile)) {
        err << "vgctl: cannot write the trace: " << session.LineTrace.Failure().Line() << '\n';
        return ExitFailure;
    }
    int result = IsConfigCommand(options.Command)
                     ? RunConfigCommand(session, options, out, err, errIsTerminal)
                     : RunStatusCommand(session, options.Command == "watch", options.Csv, out, err);
    if (tracing && !session.StopLineTrace()) {
        // A trace with a hole is no trace to send to anyone.
        err << "vgctl: the trace is incomplete: " << session.LineTrace.Failure().Line() << '\n';
        result = ExitFailure;
    }
    return result;
}

} // namespace vg::cli
