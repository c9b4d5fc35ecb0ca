#include "cli/Vgctl.h"

#include "cli/ConfigCommands.h"
#include "cli/PortsCommand.h"
#include "cli/StatusCommands.h"
#include "common/AsciiText.h"
#include "common/FileIo.h"
#include "common/ProgramInfo.h"
#include "link/CommSettingsFile.h"
#include "session/TerminationSignals.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace vg::cli {

namespace {

// The commands that talk to a unit.
bool NeedsUnit(const std::string& command) {
    return command == "upload" || command == "download" || command == "diff" ||
           command == "status" || command == "watch";
}

std::string SettingsFilePath(const Session& session) {
    return ExistingPathIgnoringCase(session.Folders.Settings + CommSettingsFileName);
}

} // namespace

bool OutputWritten(std::ostream& out, std::ostream& err) {
    // Where the failure was said already (the stream remembers it).
    static const int SaidIndex = std::ios_base::xalloc();
    errno = 0;
    out.flush();
    if (out) {
        return true;
    }
    if (out.iword(SaidIndex) == 0) {
        const int reason = errno != 0 ? errno : EIO;
        err << "vgctl: cannot write the output: " << std::strerror(reason) << '\n';
        out.iword(SaidIndex) = 1;
    }
    return false;
}

void ApplyLinkSettings(Session& session, const VgctlOptions& options, std::ostream& err) {
    errno = 0;
    std::string problem;
    const bool read = ReadCommSettings(session.Settings, session.Folders.Settings, &problem);
    if (!problem.empty()) {
        err << "vgctl: " << EscapedText(SettingsFilePath(session)) << ": " << problem << '\n';
    }
    if (!read && errno != ENOENT) {
        // The defaults apply, as without the file; but a file that is there and was not
        // read is said, or its settings would seem to be ignored.
        const int reason = errno != 0 ? errno : EIO;
        err << "vgctl: cannot read " << EscapedText(SettingsFilePath(session)) << ": "
            << std::strerror(reason) << '\n';
    }
    if (options.Simulated) {
        session.Settings.Mode = CommMode::Fieldbus;
        session.Settings.DriverPath.clear();
    } else if (!options.FieldbusDriver.empty()) {
        session.Settings.Mode = CommMode::Fieldbus;
        session.Settings.DriverPath = options.FieldbusDriver;
    } else if (options.Fieldbus) {
        session.Settings.Mode = CommMode::Fieldbus;
    } else if (options.ComPort) {
        session.Settings.Mode = CommMode::Serial;
        session.Settings.ComPortNr = static_cast<uint16_t>(*options.ComPort);
    } else if (!options.Device.empty()) {
        session.Settings.Mode = CommMode::Serial;
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

void CloseLink(Session& session, std::ostream& err) {
    ErrorCode error = 0;
    if (!session.Disconnect(error) && error != 0 && !session.Settings.IsSerial()) {
        char code[16];
        std::snprintf(code, sizeof code, "%XH", error);
        err << "vgctl: the fieldbus driver did not close cleanly: ErrorCode=" << code << '\n';
    }
}

namespace {

// How long a command has to end by itself after a termination signal.
constexpr auto SignalGrace = std::chrono::milliseconds(700);

int RunWithUnit(Session& session, const VgctlOptions& options, TerminationSignals& signals,
                std::ostream& out, std::ostream& err, bool errIsTerminal) {
    ApplyLinkSettings(session, options, err);
    if (NeedsUnit(options.Command) && session.Settings.UsesSimulatedUnit() && !options.Simulated) {
        // Nothing chosen would otherwise reach the built-in simulated unit and report its
        // answers as the unit's: a restore that never touched a unit, a backup of nothing.
        err << "vgctl: no unit is chosen. Choose one with --port COMn|DEVICE, with\n"
               "--fieldbus-driver PATH, or in "
            << EscapedText(SettingsFilePath(session))
            << " (M:2 and C:n for a serial port, D:PATH for a fieldbus driver);\n"
               "--simulated talks to the built-in simulated unit, for a trial.\n";
        return ExitFailure;
    }
    const bool tracing = !options.TraceFile.empty();
    if (tracing && !session.StartLineTrace(options.TraceFile, "vgctl")) {
        err << "vgctl: cannot write the trace: " << session.LineTrace.Failure().Line() << '\n';
        return ExitFailure;
    }
    int result =
        IsConfigCommand(options.Command)
            ? RunConfigCommand(session, options, out, err, errIsTerminal)
            : RunStatusCommand(session, options.Command == "watch", options.Csv, out, err, signals);
    if (tracing && !session.StopLineTrace()) {
        // A trace with a hole is no trace to send to anyone.
        if (!session.TraceFailureSaid) {
            err << "vgctl: the trace is incomplete: " << session.LineTrace.Failure().Line() << '\n';
        }
        result = ExitFailure;
    }
    if (!OutputWritten(out, err)) {
        result = ExitFailure;
    }
    return result;
}

} // namespace

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
        return OutputWritten(out, err) ? ExitSuccess : ExitFailure;
    }
    if (options.Version) {
        out << "vgctl " << ProgramVersion << '\n';
        return OutputWritten(out, err) ? ExitSuccess : ExitFailure;
    }
    if (options.Command == "ports") {
        LineTraceFile trace;
        const bool tracing = !options.TraceFile.empty();
        if (tracing && !trace.Open(options.TraceFile, "vgctl")) {
            err << "vgctl: cannot write the trace: " << trace.Failure().Line() << '\n';
            return ExitFailure;
        }
        int listed = RunPortsCommand(folders.Settings, SerialPortPlaces{}, options.Probe, out,
                                     tracing ? &trace : nullptr);
        if (tracing && !trace.Close()) {
            err << "vgctl: the trace is incomplete: " << trace.Failure().Line() << '\n';
            listed = ExitFailure;
        }
        return OutputWritten(out, err) ? listed : ExitFailure;
    }
    // Ctrl-C, SIGTERM and a closed terminal end vgctl through its normal close, so the port
    // is given back as found. Only a driver call that never returns is cut short.
    std::atomic<Session*> active{nullptr};
    int endSignal = 0;
    int result = ExitSuccess;
    {
        TerminationSignals signals(SignalGrace, [&active] {
            if (Session* session = active.load()) {
                session->Serial.ReleaseAfterSignal();
            }
        });
        Session session(folders);
        active = &session;
        session.Par.Interrupt = &signals.Flag();
        result = RunWithUnit(session, options, signals, out, err, errIsTerminal);
        if (signals.Received() != 0 && IsConfigCommand(options.Command)) {
            // An interrupted transfer ends as the signal ends a program.
            endSignal = signals.Received();
        }
        active = nullptr;
    }
    if (endSignal != 0) {
        OutputWritten(out, err);
        TerminationSignals::EndAs(endSignal);
    }
    return result;
}

} // namespace vg::cli
