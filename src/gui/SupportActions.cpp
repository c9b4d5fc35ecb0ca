#include "gui/SupportActions.h"

#include "common/FileIo.h"
#include "config/files/ConfigFile.h"
#include "config/files/FilePaths.h"
#include "config/transfer/Transfer.h"
#include "config/transfer/UnitReadBack.h"
#include "gui/CoreTexts.h"
#include "gui/DifferencesWindow.h"
#include "gui/FileDialogs.h"
#include "gui/ProgressWindow.h"
#include "gui/SourceChooser.h"

#include <cerrno>
#include <cstring>

namespace vg {

namespace {

// A file that is not there would load as an empty configuration and compare as a unit
// that differs in every tool.
bool Readable(MessageService& messages, const std::string& path) {
    if (OpenForReading(ExistingPathIgnoringCase(path)).IsOpen()) {
        return true;
    }
    messages.ShowMessage("The file cannot be read:\n" + path + ": " + std::strerror(errno),
                         MessageKind::Error, MessageButtons::Ok);
    return false;
}

// Reads the unit back under the progress window; the poll leaves the link alone meanwhile.
bool ReadAndCompare(ProgramContext& context, const ConfigState& file,
                    std::vector<ConfigDifference>& differences) {
    Session& core = context.Core;
    ProgressWindow progress;
    ErrorCode error = 0;
    core.Config.TransferBusy = true;
    progress.ShowProgress(UploadCaption);
    const bool read = CompareFileWithUnit(file, core.Par, progress, differences, error);
    progress.HideProgress();
    core.Config.TransferBusy = false;
    if (!read) {
        ShowTransferError(context.Messages, error);
    }
    return read;
}

} // namespace

void CompareWithFile(ProgramContext& context, QWidget* parent) {
    ConfigState file;
    file.DataDir = context.Core.Config.DataDir;
    const auto path = ChooseFileToOpen(context.Messages, context.Files, file, parent);
    if (!path) {
        return;
    }
    file.ConfigSource = ConfigSource::File;
    file.ConfigFileName = path->toStdString();
    ErrorCode error = 0;
    if (!Readable(context.Messages, file.ConfigFileName) ||
        !LoadConfigFile(file, file.ConfigFileName, error, context.Messages)) {
        return;
    }
    std::vector<ConfigDifference> differences;
    if (!ReadAndCompare(context, file, differences)) {
        return;
    }
    if (differences.empty()) {
        context.Messages.ShowMessage(UnitAndFileSameText, MessageKind::Information,
                                     MessageButtons::Ok);
        return;
    }
    QStringList lines;
    for (const ConfigDifference& difference : differences) {
        lines << DifferenceLine(difference, "in file", "in unit");
    }
    DifferencesWindow window(QString::fromStdString(FileNamePart(file.ConfigFileName)), lines,
                             parent);
    window.exec();
}

bool StartLineTraceWithWindows(ProgramContext& context, QWidget* parent) {
    Session& core = context.Core;
    const auto path = context.Files.GetTraceFileName(
        parent, QString::fromStdString(core.Folders.Data + "line-trace.txt"));
    if (!path) {
        return false;
    }
    if (!core.StartLineTrace(path->toStdString())) {
        context.Messages.ShowMessage("The trace cannot be written:\n" +
                                         core.LineTrace.Failure().Line(),
                                     MessageKind::Error, MessageButtons::Ok);
        return false;
    }
    return true;
}

void StopLineTraceWithWindows(ProgramContext& context) {
    Session& core = context.Core;
    if (!core.StopLineTrace()) {
        context.Messages.ShowMessage("The trace is incomplete:\n" + core.LineTrace.Failure().Line(),
                                     MessageKind::Warning, MessageButtons::Ok);
    }
}

} // namespace vg
