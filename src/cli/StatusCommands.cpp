#include "cli/StatusCommands.h"

#include "cli/CsvOutput.h"
#include "cli/Vgctl.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <pthread.h>

namespace vg::cli {

namespace {

using Clock = std::chrono::steady_clock;

std::string OnOff(bool on) {
    return on ? "on" : "off";
}

std::string OrNone(const std::string& text) {
    return text.empty() ? "(none)" : text;
}

std::string ToolText(const StatusPicture& picture) {
    return picture.Tool < 0 ? "-" : std::to_string(picture.Tool);
}

// " 90.00" gives "90.00"; "-----" while the unit does not answer.
std::string AngleValue(const UnitStatus& status) {
    if (!status.AngleHundredths) {
        return StatusText::Unknown;
    }
    const std::string text = AngleText(*status.AngleHundredths);
    return text.substr(text.find_first_not_of(' '));
}

} // namespace

StatusPicture TakeStatusPicture(const UnitStatus& status) {
    StatusPicture picture;
    picture.Online = status.LinkOnline;
    picture.Tool = status.LinkOnline ? static_cast<int16_t>(status.ToolNr) : int16_t{-1};
    picture.Out1 = status.Out1();
    picture.Out2 = status.Out2();
    picture.Scanner = status.ScannerText();
    picture.Angle = AngleValue(status);
    picture.Message = status.Message();
    picture.Id = status.IdentifierText();
    picture.SimulatedUnit = status.SimulatedUnit;
    return picture;
}

std::string FormatStatusLines(const StatusPicture& picture) {
    return "Online: " + std::string(picture.Online ? "yes" : "no") + "\n" +
           "Tool: " + ToolText(picture) + "\n" + "Message: " + OrNone(picture.Message) + "\n" +
           "Out1: " + OnOff(picture.Out1) + "\n" + "Out2: " + OnOff(picture.Out2) + "\n" +
           "Scanner: " + OrNone(picture.Scanner) + "\n" + "MeasA.: " + picture.Angle + "\n" +
           picture.Id + "\n" + (picture.SimulatedUnit ? "Unit: simulated\n" : "");
}

std::string FormatWatchLine(const StatusPicture& picture) {
    return std::string(picture.Online ? "Online" : "Offline") + " | Tool: " + ToolText(picture) +
           " | Out1: " + OnOff(picture.Out1) + " | Out2: " + OnOff(picture.Out2) +
           " | Scanner: " + OrNone(picture.Scanner) + " | MeasA.: " + picture.Angle +
           " | Message: " + OrNone(picture.Message) +
           (picture.SimulatedUnit ? " | Unit: simulated" : "");
}

int RunStatusCommand(Session& session, bool watch, bool csv, std::ostream& out, std::ostream& err,
                     TerminationSignals& signals) {
    TerminalPollRhythm rhythm;
    session.Status.AddListener(&rhythm);
    const bool opened = OpenLink(session, err);
    int result = ExitSuccess;
    const bool driverFailed = !session.FieldbusDriverFailure().empty();
    if (!opened && ((session.Settings.IsSerial() && !watch) || driverFailed)) {
        // A single look at a port that is not there has nothing to show. Watching goes on:
        // the poll opens the port once its device comes. A driver is not loaded again.
        result = ExitFailure;
    } else {
        rhythm.Interval = opened ? PollInterval::Online : PollInterval::Designed;
        const auto giveUp = Clock::now() + std::chrono::milliseconds(AnswerWaitMilliseconds);
        bool printing = false;
        std::string lastLine;
        while (true) {
            session.Status.Tick();
            const bool answered = session.Status.RecordsProcessed() > 0;
            const bool late = Clock::now() >= giveUp;
            const StatusPicture picture = TakeStatusPicture(session.Status.CurrentStatus());
            if (!watch && (answered || late)) {
                if (answered) {
                    out << FormatStatusLines(picture);
                    if (!OutputWritten(out, err)) {
                        result = ExitFailure;
                    }
                } else {
                    err << "vgctl: the unit does not answer\n";
                    result = ExitFailure;
                }
                break;
            }
            if (watch && !printing && (answered || late)) {
                printing = true;
                if (!answered) {
                    err << "vgctl: the unit does not answer yet; watching on\n";
                }
                if (csv) {
                    out << WatchCsvHeader();
                }
                if (!OutputWritten(out, err)) {
                    result = ExitFailure;
                    break;
                }
            }
            if (!session.TraceFailureSaid && session.LineTrace.IsOpen() &&
                !session.LineTrace.Failure().Path.empty()) {
                // Said when it happens: whoever watches for hours learns it now, not at the end.
                err << "vgctl: the trace is incomplete: " << session.LineTrace.Failure().Line()
                    << '\n';
                session.TraceFailureSaid = true;
            }
            if (printing) {
                const std::string line = FormatWatchLine(picture);
                if (line != lastLine) {
                    // A pipe reader sees each change as it happens.
                    out << (csv ? WatchCsvRow(picture, std::chrono::system_clock::now())
                                : line + "\n");
                    lastLine = line;
                    // Nobody reads a watch whose lines go nowhere: it stops at once.
                    if (!OutputWritten(out, err)) {
                        result = ExitFailure;
                        break;
                    }
                }
            }
            if (signals.Wait(std::chrono::milliseconds(rhythm.Interval))) {
                result = watch ? ExitSuccess : ExitFailure;
                break;
            }
        }
    }
    CloseLink(session, err);
    session.Status.RemoveListener(&rhythm);
    return result;
}

} // namespace vg::cli
