#include "gui/SourceChooser.h"

#include "config/files/ConfigFile.h"
#include "config/files/FilePaths.h"
#include "config/files/NamespaceFile.h"
#include "gui/ButtonKeys.h"
#include "gui/FileDialogs.h"
#include "gui/MainWindow.h"
#include "gui/TransferActions.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace vg {

namespace {

const char* const FileNameFormatMessage =
    "Please enter filename in the following format: \"VGL_iiiiiiii\"";

// Shows the naming rule's message when `path` breaks it; true when it passes. The identifier of
// the name goes into `info`.
bool CheckFileName(MessageService& messages, const QString& path, NamespaceInfo& info) {
    const bool valid = CuIdFromFileName(path.toStdString(), info);
    if (!valid) {
        messages.ShowMessage(FileNameFormatMessage, MessageKind::Error, MessageButtons::Ok);
    }
    return valid;
}

QString DataDirectory(const std::string& dataDir) {
    // The dialogs start there, so it must exist (an installed program's does not at first).
    MakeUnitDataFolder(dataDir);
    return QString::fromStdString(UnitDataFolder(dataDir));
}

} // namespace

SourceChooser::SourceChooser(const ChooserInputs& inputs, MessageService& messages,
                             FileDialogs& files, QWidget* parent)
    : QDialog(parent), Inputs(inputs), Messages(messages), Files(files) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(446, 208);
    setWindowTitle(Inputs.Purpose == ChooserPurpose::Save ? tr("Save Data to ...")
                                                          : tr("Load Data from ..."));
    UnitButton = new QPushButton(tr("&Vigilo"), this);
    FileButton = new QPushButton(tr("&File"), this);
    CancelButton = new QPushButton(tr("&Cancel"), this);
    auto* layout = new QHBoxLayout(this);
    for (QPushButton* button : {UnitButton, FileButton, CancelButton}) {
        button->setFixedHeight(40);
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    SetUnitAnswers(Inputs.UnitAnswers);
    connect(UnitButton, &QPushButton::clicked, this, &SourceChooser::UnitClicked);
    connect(FileButton, &QPushButton::clicked, this, &SourceChooser::FileClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    PressFocusedButtonOnEnter(*this);
}

void SourceChooser::SetUnitAnswers(bool answers) {
    UnitButton->setEnabled(answers);
}

void SourceChooser::UnitClicked() {
    Chosen.Source = ConfigSource::Unit;
    accept();
}

void SourceChooser::FileClicked() {
    Chosen.FileDialogShown = true;
    if (Inputs.Purpose == ChooserPurpose::Save) {
        ChooseFileToSave();
    } else {
        ChooseFileToLoad();
    }
    accept(); // whatever came of the file dialog
}

void SourceChooser::ChooseFileToLoad() {
    ConfigState target;
    target.DataDir = Inputs.DataDir;
    const auto path = ChooseFileToOpen(Messages, Files, target, this);
    if (path) {
        Chosen.Source = ConfigSource::File;
        Chosen.FileName = path->toStdString();
    }
}

void SourceChooser::ChooseFileToSave() {
    QString name = QString::fromStdString(Inputs.ProposedFile);
    while (true) {
        const auto path = Files.GetSaveFileName(this, DataDirectory(Inputs.DataDir), name);
        if (!path) {
            return;
        }
        NamespaceInfo identifier{};
        if (CheckFileName(Messages, *path, identifier)) {
            Chosen.Source = ConfigSource::File;
            Chosen.FileName = path->toStdString();
            return;
        }
        name = *path; // the dialog shows the rejected name again
    }
}

std::optional<QString> ChooseFileToOpen(MessageService& messages, FileDialogs& files,
                                        ConfigState& target, QWidget* parent) {
    while (true) {
        target.NamespaceIdValid = false;
        const auto path = files.GetOpenFileName(parent, DataDirectory(target.DataDir), QString());
        if (!path) {
            return path;
        }
        target.NamespaceIdValid = CheckFileName(messages, *path, target.NamespaceInfo);
        if (target.NamespaceIdValid) {
            return path;
        }
    }
}

ChooserInputs ChooserInputsFor(ProgramContext& context, ChooserPurpose purpose) {
    const ConfigState& config = context.Core.Config;
    ChooserInputs inputs;
    inputs.Purpose = purpose;
    inputs.DataDir = config.DataDir;
    if (purpose == ChooserPurpose::Save) {
        // A configuration from the unit is proposed under its identifier's default name.
        inputs.ProposedFile =
            config.ConfigSource == ConfigSource::Unit && config.NamespaceIdValid
                ? ReplaceExtension(NamespaceFilePath(config.DataDir, config.NamespaceInfo), ".CD")
                : config.ConfigFileName;
    }
    const MainWindow* main = context.Windows.Main;
    inputs.UnitAnswers = main != nullptr && main->UnitAnswers();
    return inputs;
}

SourceChoice ChooseSource(ProgramContext& context, ChooserPurpose purpose) {
    SourceChooser chooser(ChooserInputsFor(context, purpose), context.Messages, context.Files);
    MainWindow* main = context.Windows.Main;
    if (main != nullptr) {
        QObject::connect(main, &MainWindow::UnitAnswersChanged, &chooser,
                         &SourceChooser::SetUnitAnswers);
    }
    chooser.exec();
    return chooser.Choice();
}

bool SelectAndLoad(ProgramContext& context) {
    ConfigState& config = context.Core.Config;
    config.ConfigSource = ConfigSource::None;
    const SourceChoice choice = ChooseSource(context, ChooserPurpose::Load);
    if (choice.FileDialogShown) {
        // Looking for a file gives up the identifier in memory, whether one is chosen or not.
        config.NamespaceIdValid = false;
    }
    if (choice.Source == ConfigSource::File) {
        config.ConfigFileName = choice.FileName;
        config.ConfigSource = ConfigSource::File;
        config.NamespaceIdValid = CuIdFromFileName(choice.FileName, config.NamespaceInfo);
        return LoadConfigFile(config, config.ConfigFileName, config.TransferError,
                              context.Messages);
    }
    if (choice.Source == ConfigSource::Unit) {
        config.ConfigSource = ConfigSource::Unit;
        return LoadConfigurationFromUnit(context);
    }
    return false;
}

} // namespace vg
