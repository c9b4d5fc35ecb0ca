#include "cli/StatusCommands.h"

#include "cli/CsvOutput.h"
#include "cli/Vgctl.h"
#include "status/StatusPresenter.h"

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

// " MeasA.:  90.00" gives "90.00"; the offline "-----" stays as it is.
std::string AngleValue(const std::string& panel) {
    const std::string prefix = StatusText::AnglePrefix;
    if (panel.compare(0, prefix.size(), prefix) != 0) {
        return panel;
    }
    const size_t first = panel.find_first_not_of(' ', prefix.size());
    return first == std::string::npos ? std::string() : panel.substr(first);
}

} // namespace

TerminalStatusBar::TerminalStatusBar() {
    // Nothing is known before the unit answered.
    Texts[StatusPanel::Scanning] = StatusText::Unknown;
    Texts[StatusPanel::Angle] = StatusText::Unknown;
    Texts[StatusPanel::Id] = StatusText::NoId;
}

void TerminalStatusBar::SetPanelText(int panel, const std::string& text) {
    if (panel >= 0 && panel < StatusPanel::Count) {
        Texts[static_cast<size_t>(panel)] = text;
    }
}

const std::string& TerminalStatusBar::PanelText(int panel) const {
    return Texts.at(static_cast<size_t>(panel));
}

StatusPicture TakeStatusPicture(const TerminalStatusBar& bar, const DisplayState& display,
                                const PollState& poll) {
    StatusPicture picture;
    picture.Online = poll.Online;
    picture.Tool = poll.Online ? poll.CurrentToolNr : int16_t{-1};
    picture.Out1 = display.Out1On;
    picture.Out2 = display.Out2On;
    picture.Scanner = bar.PanelText(StatusPanel::Scanning);
    picture.Angle = AngleValue(bar.PanelText(StatusPanel::Angle));
    picture.Message = bar.PanelText(StatusPanel::Error);
    picture.Id = bar.PanelText(StatusPanel::Id);
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
    TerminalStatusHost host;
    session.Status.SetHost(&host);
    session.Poll.StatusBarTarget = &host.Bar;
    const bool opened = OpenLink(session, err);
    int result = ExitSuccess;
    const bool driverFailed = !session.FieldbusDriverFailure().empty();
    if (!opened && ((session.Settings.IsSerial() && !watch) || driverFailed)) {
        // A single look at a port that is not there has nothing to show. Watching goes on:
        // the poll opens the port once its device comes. A driver is not loaded again.
        result = ExitFailure;
    } else {
        host.Interval = opened ? PollInterval::Online : PollInterval::Designed;
        const auto giveUp = Clock::now() + std::chrono::milliseconds(AnswerWaitMilliseconds);
        bool printing = false;
        std::string lastLine;
        while (true) {
            session.Status.Status_Tick();
            const bool answered = session.Status.RecordsProcessed() > 0;
            const bool late = Clock::now() >= giveUp;
            StatusPicture picture = TakeStatusPicture(host.Bar, session.Display, session.Poll);
            picture.SimulatedUnit = session.Settings.UsesSimulatedUnit();
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
            if (signals.Wait(std::chrono::milliseconds(host.Interval))) {
                result = watch ? ExitSuccess : ExitFailure;
                break;
            }
        }
    }
    CloseLink(session, err);
    session.Poll.StatusBarTarget = nullptr;
    session.Status.SetHost(nullptr);
    return result;
}

} // namespace vg::cli
