#include "gui/SourceChooser.h"

#include "config/ConfigFile.h"
#include "config/FilePaths.h"
#include "config/NamespaceFile.h"
#include "gui/ButtonKeys.h"
#include "gui/FileDialogs.h"
#include "gui/TransferActions.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace vg {

namespace {
const char* const FileNameFormatMessage =
    "Please enter filename in the following format: \"VGL_iiiiiiii\"";
}

SourceChooser::SourceChooser(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(446, 208);
    UnitButton = new QPushButton(tr("&Vigilo"), this);
    FileButton = new QPushButton(tr("&File"), this);
    CancelButton = new QPushButton(tr("&Cancel"), this);
    auto* layout = new QHBoxLayout(this);
    for (QPushButton* button : {UnitButton, FileButton, CancelButton}) {
        button->setFixedHeight(40);
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    // Answering is what enables it; nothing has answered yet.
    UnitButton->setEnabled(false);
    connect(UnitButton, &QPushButton::clicked, this, &SourceChooser::UnitClicked);
    connect(FileButton, &QPushButton::clicked, this, &SourceChooser::FileClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    PressFocusedButtonOnEnter(*this);
}

void SourceChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PrepareToShow();
}

void SourceChooser::PrepareToShow() {
    Context.SourceConfirmed = false;
    setWindowTitle(Context.ChooserFor == ChooserPurpose::Save ? tr("Save Data to ...")
                                                              : tr("Load Data from ..."));
}

QString SourceChooser::DataDirectory() const {
    // The dialogs start there, so it must exist (an installed program's does not at first).
    MakeUnitDataFolder(Context.Core.Config.DataDir);
    return QString::fromStdString(UnitDataFolder(Context.Core.Config.DataDir));
}

void SourceChooser::UnitClicked() {
    Context.Core.Config.ConfigSource = ConfigSourceUnit;
    Context.SourceConfirmed = true;
    accept();
}

void SourceChooser::FileClicked() {
    if (Context.ChooserFor == ChooserPurpose::Save) {
        ChooseFileToSave();
    } else {
        ChooseFileToLoad();
    }
    accept(); // whatever came of the file dialog
}

bool SourceChooser::CheckFileName(const QString& path, ConfigState& target) {
    target.NamespaceIdValid = CuIdFromFileName(path.toStdString(), target.NamespaceInfo);
    if (!target.NamespaceIdValid) {
        Context.Messages.ShowMessage(FileNameFormatMessage, MessageKind::Error, MessageButtons::Ok);
    }
    return target.NamespaceIdValid;
}

std::optional<QString> SourceChooser::ChooseFileToOpen(ConfigState& target) {
    while (true) {
        target.NamespaceIdValid = false;
        const auto path = Context.Files.GetOpenFileName(this, DataDirectory(), QString());
        if (!path || CheckFileName(*path, target)) {
            return path;
        }
    }
}

void SourceChooser::ChooseFileToLoad() {
    ConfigState& config = Context.Core.Config;
    const auto path = ChooseFileToOpen(config);
    if (!path) {
        return; // nothing chosen: the source stays as it was
    }
    config.ConfigFileName = path->toStdString();
    config.ConfigSource = ConfigSourceFile;
    Context.SourceConfirmed = true;
}

void SourceChooser::ChooseFileToSave() {
    ConfigState& config = Context.Core.Config;
    // A configuration from the unit is proposed under its identifier's default name.
    if (config.ConfigSource == ConfigSourceUnit && config.NamespaceIdValid) {
        config.ConfigFileName =
            ReplaceExtension(NamespaceFilePath(config.DataDir, config.NamespaceInfo), ".CD");
    }
    QString name = QString::fromStdString(config.ConfigFileName);
    while (true) {
        const auto path = Context.Files.GetSaveFileName(this, DataDirectory(), name);
        if (!path) {
            return;
        }
        if (CheckFileName(*path, config)) {
            config.ConfigFileName = path->toStdString();
            config.ConfigSource = ConfigSourceFile;
            Context.SourceConfirmed = true;
            return;
        }
        name = *path; // the dialog shows the rejected name again
    }
}

bool SelectAndLoad(ProgramContext& context) {
    ConfigState& config = context.Core.Config;
    config.ConfigSource = ConfigSourceNone;
    context.ChooserFor = ChooserPurpose::Load;
    context.Windows.Chooser->exec();
    if (config.ConfigSource == ConfigSourceFile) {
        return LoadConfigFile(config, config.ConfigFileName, config.TransferError,
                              context.Messages);
    }
    if (config.ConfigSource == ConfigSourceUnit) {
        return LoadConfigurationFromUnit(context);
    }
    return false;
}

} // namespace vg
