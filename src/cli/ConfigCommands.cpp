#include "cli/ConfigCommands.h"

#include "cli/CsvOutput.h"
#include "cli/MarkedReportCanvas.h"
#include "cli/TerminalIdentifierPrompt.h"
#include "cli/TerminalMessages.h"
#include "cli/TerminalProgress.h"
#include "cli/TerminalText.h"
#include "cli/Vgctl.h"
#include "common/AsciiText.h"
#include "common/BusyBox.h"
#include "common/FileIo.h"
#include "config/files/ConfigFile.h"
#include "config/files/NamespaceFile.h"
#include "config/model/ValueRanges.h"
#include "config/report/ReportLayout.h"
#include "config/report/TextGridCanvas.h"
#include "config/transfer/Transfer.h"
#include "config/transfer/UnitReadBack.h"

#include <clocale>
#include <ctime>
#include <locale.h>
#include <set>

namespace vg::cli {

namespace {

// The report is written at once; there is nothing to wait for on a terminal.
class QuietBusyBox : public BusyBox {
public:
    void ShowBusyBox(const std::string&, const std::string&) override {}
    void HideBusyBox() override {}
};

// Short date and long time of the user's locale, without changing the process locale.
std::string LocalDateTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128] = {};
    locale_t userLocale = newlocale(LC_TIME_MASK, "", nullptr);
    if (userLocale != nullptr) {
        strftime_l(text, sizeof text, "%x %X", &local, userLocale);
        freelocale(userLocale);
    } else {
        std::strftime(text, sizeof text, "%x %X", &local);
    }
    return text;
}

// A missing file would load as a new, empty configuration: shown or sent to the unit that
// would hide a mistyped name, or wipe the unit's tool table.
bool FileIsThere(const std::string& path, std::ostream& err) {
    if (OpenForReading(ExistingPathIgnoringCase(path)).IsOpen()) {
        return true;
    }
    err << "vgctl: cannot read " << EscapedText(path) << '\n';
    return false;
}

// The report's texts that show the values: a setting's label, a tool's line.
std::set<std::string> MarkedTexts(const ConfigState& config,
                                  const std::vector<OutOfRangeValue>& values) {
    std::set<std::string> texts;
    for (const OutOfRangeValue& value : values) {
        if (value.Tool < 0) {
            texts.insert(value.Name + ":");
            continue;
        }
        const int line = config.ToolLineIndex[static_cast<size_t>(value.Tool)];
        if (line >= 0 && static_cast<size_t>(line) < config.ToolLines.size()) {
            texts.insert(config.ToolLines[static_cast<size_t>(line)]);
        }
    }
    return texts;
}

// Loads FILE.CD as the current configuration; false (with the reason told) when it is missing
// or cannot be loaded.
bool LoadExistingFile(ConfigState& config, const std::string& file, MessageService& messages,
                      std::ostream& err) {
    if (!FileIsThere(file, err)) {
        return false;
    }
    config.ConfigSource = ConfigSource::File;
    config.ConfigFileName = file;
    return LoadConfigFile(config, file, config.TransferError, messages);
}

int Show(Session& session, const VgctlOptions& options, TerminalMessages& messages,
         std::ostream& out, std::ostream& err) {
    ConfigState& config = session.Config;
    if (!LoadExistingFile(config, options.Arguments.front(), messages, err)) {
        return ExitFailure;
    }
    // Values a download would refuse are marked in the report and named below it.
    const auto outside = ValuesOutOfRange(config.ConfigImage, true);
    if (options.Csv) {
        out << ReportCsv(config);
    } else {
        MarkedReportCanvas canvas(MarkedTexts(config, outside));
        QuietBusyBox busy;
        if (!PrintReport(config, config.ConfigImage, canvas, busy, LocalDateTimeText())) {
            return ExitFailure;
        }
        // Tool names are Windows-1252 bytes; the terminal reads UTF-8. Rows and pages are the
        // grid's own: a control byte inside a row cannot start another.
        out << canvas.Text(TerminalTextFromWindows1252);
    }
    for (const OutOfRangeValue& value : outside) {
        err << "vgctl: " << MarkedReportCanvas::Mark << ' ' << OutOfRangeText(value) << '\n';
    }
    return ExitSuccess;
}

// A unit without an identifier names no tool-name file, and this process holds no names: the
// save would write an empty names file over the one beside the target. Its names are loaded
// instead, so the save writes them back. False when that file cannot be used.
bool KeepNamesBeside(ConfigState& config, const std::string& file, MessageService& messages,
                     std::ostream& err) {
    const std::string names = ToolNamesFileBeside(file);
    if (!OpenForReading(names).IsOpen()) {
        return true;
    }
    ErrorCode error = 0;
    if (!LoadToolNames(config.ToolNameTable, file, error, messages)) {
        ShowTransferError(messages, error);
        return false;
    }
    err << "vgctl: the unit names no tool-name file; the names in " << EscapedText(names)
        << " are kept\n";
    return true;
}

int Upload(Session& session, const std::string& file, const TransferServices& services,
           std::ostream& err) {
    if (!OpenLink(session, err)) {
        return ExitFailure;
    }
    ConfigState& config = session.Config;
    config.ConfigSource = ConfigSource::Unit;
    const bool loaded = LoadFromUnit(config, session.Par, services, config.TransferError);
    CloseLink(session, err);
    // Nothing is written after a failed upload: the file would hold a half-read unit.
    if (!loaded) {
        return ExitFailure;
    }
    if (!config.NamespaceIdValid && !KeepNamesBeside(config, file, services.Messages, err)) {
        return ExitFailure;
    }
    return SaveToFiles(config, file, services.Messages, config.TransferError) ? ExitSuccess
                                                                              : ExitFailure;
}

// What download --verify found: one line per difference. False when the unit holds other
// values than were sent or could not be read back; the success line on `out` is then followed
// by one that says so, for whoever reads only that.
bool ReportCheck(const DownloadCheck& check, std::ostream& out, std::ostream& err) {
    if (check.Done && check.ReadError != 0) {
        err << "vgctl: the unit could not be read back: " << TransferErrorText(check.ReadError)
            << '\n';
        out << "Verify failed: the unit could not be read back.\n";
        return false;
    }
    for (const ConfigDifference& difference : check.Differences) {
        err << "vgctl: " << DifferenceText(difference, "sent", "stored") << '\n';
    }
    if (!check.Differences.empty()) {
        const size_t n = check.Differences.size();
        out << "Verify failed: the unit keeps " << n << (n == 1 ? " value" : " values")
            << " other than sent.\n";
    }
    return check.Differences.empty();
}

int Download(Session& session, const VgctlOptions& options, TerminalMessages& messages,
             const TransferServices& services, std::ostream& out, std::ostream& err) {
    const std::string& file = options.Arguments.front();
    if (!options.CuId.empty()) {
        // Refused before anything is sent, as the identifier window would refuse it.
        NamespaceInfo scratch{};
        bool valid = false;
        if (!AcceptCuIdEntry(options.CuId, scratch, valid)) {
            messages.ShowMessage(std::string(CuIdEntryErrorText), MessageKind::Error,
                                 MessageButtons::Ok);
            return ExitUsage;
        }
        messages.QuestionAnswer = MessageResult::Yes;
    }
    ConfigState& config = session.Config;
    if (!LoadExistingFile(config, file, messages, err)) {
        return ExitFailure;
    }
    if (!OpenLink(session, err)) {
        return ExitFailure;
    }
    DownloadCheck check;
    TransferServices withCheck = services;
    if (options.Verify) {
        withCheck.Check = &check;
    }
    const bool saved = SaveToUnit(config, session.Par, withCheck, config.TransferError);
    CloseLink(session, err);
    if (!saved) {
        return ExitFailure;
    }
    return ReportCheck(check, out, err) ? ExitSuccess : ExitFailure;
}

int Diff(Session& session, const std::string& file, TerminalMessages& messages,
         ProgressView& progress, std::ostream& out, std::ostream& err) {
    ConfigState& config = session.Config;
    if (!LoadExistingFile(config, file, messages, err) || !OpenLink(session, err)) {
        return ExitFailure;
    }
    std::vector<ConfigDifference> differences;
    ErrorCode error = 0;
    progress.ShowProgress(UploadCaption);
    const bool read = CompareFileWithUnit(config, session.Par, progress, differences, error);
    progress.HideProgress();
    CloseLink(session, err);
    if (!read) {
        ShowTransferError(messages, error);
        return ExitFailure;
    }
    if (differences.empty()) {
        out << UnitAndFileSameText << '\n';
        return ExitSuccess;
    }
    for (const ConfigDifference& difference : differences) {
        out << DifferenceText(difference, "in file", "in unit") << '\n';
    }
    return ExitDiffer;
}

} // namespace

bool IsConfigCommand(const std::string& command) {
    return command == "upload" || command == "download" || command == "diff" || command == "show";
}

int RunConfigCommand(Session& session, const VgctlOptions& options, std::ostream& out,
                     std::ostream& err, bool errIsTerminal) {
    TerminalMessages messages(out, err);
    TerminalProgress progress(err, errIsTerminal);
    TerminalIdentifierPrompt identifier(options.CuId, messages);
    const TransferServices services{messages, progress, identifier};
    const std::string& file = options.Arguments.front();
    if (options.Command == "show") {
        return Show(session, options, messages, out, err);
    }
    if (options.Command == "upload") {
        return Upload(session, file, services, err);
    }
    if (options.Command == "diff") {
        return Diff(session, file, messages, progress, out, err);
    }
    return Download(session, options, messages, services, out, err);
}

} // namespace vg::cli
