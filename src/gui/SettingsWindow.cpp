#include "gui/SettingsWindow.h"

#include "config/files/ConfigFile.h"
#include "config/files/FilePaths.h"
#include "config/model/TextFormats.h"
#include "config/model/ValueRanges.h"
#include "config/report/ReportLayout.h"
#include "gui/BusyWindow.h"
#include "gui/ButtonKeys.h"
#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/MoveRequest.h"
#include "gui/NumberField.h"
#include "gui/PrinterCanvas.h"
#include "gui/RadioGroup.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "gui/TextCodec.h"
#include "gui/ToolEditor.h"
#include "gui/ToolTable.h"
#include "gui/TransferActions.h"

#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace vg {

namespace {

const char* const GlobalsChangedQuestion =
    "The changed global settings must be saved to Vigilo to activate them!\n"
    "Would you save it now?\n"
    "\n"
    "Yes:       Save the data and stay in this \"Tool Settings\"-sheet\n"
    "No:        Go back to the \"Global Settings\"-sheet\n"
    "Cancel:  Go back to the \"Global Settings\"-sheet and discard the changes\n";

const char* const SaveQuestion = "Save programmed data?";

// The whole milliseconds of a pulse field, saturated rather than overflowing.
int32_t TruncatedInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double limited =
        std::clamp(std::trunc(value), static_cast<double>(std::numeric_limits<int32_t>::min()),
                   static_cast<double>(std::numeric_limits<int32_t>::max()));
    return static_cast<int32_t>(limited);
}

NumberField* MakeNumberField(NumberStyle style, int decimals, QWidget* parent) {
    auto* field = new NumberField(parent);
    field->SetStyle(style);
    field->SetDecimalPlaces(decimals);
    field->SetValue(0);
    return field;
}

QPushButton* MakeButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    // Enter in a field must not press a button the user did not choose.
    button->setAutoDefault(false);
    return button;
}

} // namespace

SettingsWindow::SettingsWindow(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context), DefaultPrinters(std::make_unique<DefaultPrinterChoice>()),
      Printers(DefaultPrinters.get()) {
    setWindowTitle(tr("VG-Config / Settings"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);

    PageTabs = new QTabWidget(this);
    ToolTab = BuildToolPage();
    GlobalTab = BuildGlobalPage();
    DefaultTab = BuildDefaultPage();
    PageTabs->addTab(ToolTab, tr("T&ool-Settings"));
    PageTabs->addTab(GlobalTab, tr("&Global-Settings"));
    PageTabs->addTab(DefaultTab, tr("&Default-Settings"));
    // The first opening shows the global settings; later openings the page last shown.
    PageTabs->setCurrentIndex(GlobalPage);

    PrintButton = MakeButton(tr("&Print"), this);
    SaveButton = MakeButton(tr("&Save"), this);
    SaveAsButton = MakeButton(tr("Save &As"), this);
    CloseButton = MakeButton(tr("&Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {PrintButton, SaveButton, SaveAsButton, CloseButton}) {
        button->setMinimumWidth(96);
        buttons->addWidget(button);
    }
    StatusBar = new StatusBarWidget(Context.LiveStatus.Lamps(), this);
    StatusBar->MarkSimulatedUnit(Context.Core.Settings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 0);
    body->addWidget(PageTabs, 1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);
    layout->addWidget(StatusBar);

    connect(PageTabs, &QTabWidget::currentChanged, this, &SettingsWindow::PageChanged);
    connect(PrintButton, &QPushButton::clicked, this, &SettingsWindow::PrintClicked);
    connect(SaveButton, &QPushButton::clicked, this, &SettingsWindow::SaveClicked);
    connect(SaveAsButton, &QPushButton::clicked, this, &SettingsWindow::SaveAsClicked);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this,
            [this] { Context.Help.ShowTopic(CurrentHelpContext()); });

    BuildWidgets();
    PressFocusedButtonOnEnter(*this);
}

SettingsWindow::~SettingsWindow() = default;

QWidget* SettingsWindow::BuildToolPage() {
    auto* page = new QWidget;
    const ToolTable table = CreateToolTable(page);
    ToolList = table.List;
    ToolList->setObjectName(QStringLiteral("ToolList"));
    ToolList->viewport()->installEventFilter(this);

    TeachButton = MakeButton(tr("&Teach"), page);
    StartButton = MakeButton(tr("St&art"), page);
    ChangeButton = MakeButton(tr("C&hange"), page);
    NewButton = MakeButton(tr("&New"), page);
    DeleteButton = MakeButton(tr("&Delete"), page);

    TargetAngleBox = new QGroupBox(tr("Start \"Ta&rget Angle\""), page);
    AngleFromTableButton = new QRadioButton(tr("Angle from Table"), TargetAngleBox);
    CurrentAngleButton = new QRadioButton(tr("Measured  Angle"), TargetAngleBox);
    TargetAngleField = MakeNumberField(NumberStyle::Float, 2, TargetAngleBox);
    TargetAngleField->Range().SetMinValue(-100.0);
    TargetAngleField->Range().SetMaxValue(300.0);
    // shows the target only; the user never types it
    TargetAngleField->setEnabled(false);
    auto* target = new QGridLayout(TargetAngleBox);
    target->addWidget(AngleFromTableButton, 0, 0, 1, 2);
    target->addWidget(CurrentAngleButton, 1, 0, 1, 2);
    auto* angleLabel = new QLabel(tr("Angle:"), TargetAngleBox);
    angleLabel->setBuddy(TargetAngleField);
    target->addWidget(angleLabel, 2, 0);
    target->addWidget(TargetAngleField, 2, 1);

    GlobalsBox = new QGroupBox(tr("Global Parameters:"), page);
    RotationDirectionLabel = new QLabel(GlobalsBox);
    ScannerLabel = new QLabel(GlobalsBox);
    ToolCountLabel = new QLabel(GlobalsBox);
    auto* globals = new QGridLayout(GlobalsBox);
    globals->addWidget(new QLabel(tr("Rotation direction:"), GlobalsBox), 0, 0);
    globals->addWidget(RotationDirectionLabel, 0, 1);
    globals->addWidget(new QLabel(tr("Scanner:"), GlobalsBox), 1, 0);
    globals->addWidget(ScannerLabel, 1, 1);
    globals->addWidget(new QLabel(tr("Tool-Storage:"), GlobalsBox), 2, 0);
    globals->addWidget(ToolCountLabel, 2, 1);

    auto* commands = new QHBoxLayout;
    commands->addWidget(TeachButton);
    commands->addWidget(StartButton);
    auto* edits = new QHBoxLayout;
    edits->addWidget(ChangeButton);
    edits->addWidget(NewButton);
    edits->addWidget(DeleteButton);
    auto* right = new QVBoxLayout;
    right->addLayout(commands);
    right->addWidget(TargetAngleBox);
    right->addLayout(edits);
    right->addWidget(GlobalsBox);
    right->addStretch(1);

    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(table.HeadingRow);
    left->addWidget(ToolList, 1);
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 1);
    columns->addLayout(right);

    connect(ToolList, &QListWidget::currentRowChanged, this, &SettingsWindow::ToolListClicked);
    connect(TeachButton, &QPushButton::clicked, this, &SettingsWindow::TeachClicked);
    connect(StartButton, &QPushButton::clicked, this, &SettingsWindow::StartClicked);
    connect(ChangeButton, &QPushButton::clicked, this, &SettingsWindow::ChangeClicked);
    connect(NewButton, &QPushButton::clicked, this, &SettingsWindow::NewClicked);
    connect(DeleteButton, &QPushButton::clicked, this, &SettingsWindow::DeleteClicked);
    connect(AngleFromTableButton, &QRadioButton::clicked, this,
            &SettingsWindow::AngleFromTableClicked);
    connect(CurrentAngleButton, &QRadioButton::clicked, this, &SettingsWindow::CurrentAngleClicked);
    return page;
}

QWidget* SettingsWindow::BuildGlobalPage() {
    auto* page = new QWidget;
    FirmwareVersionField = new QLineEdit(page);
    FirmwareVersionField->setEnabled(false);
    ScannerBox = new QComboBox(page);
    ScannerBox->addItems({QStringLiteral("RZ41"), QStringLiteral("RZ42")});

    const QStringList polarity = {tr("N/C (Normally Closed)"), tr("N/O (Normally Open)")};
    Output1PolarityGroup = new RadioGroup(tr("Out1 (OK) Polarity"), polarity, page);
    Output2PolarityGroup = new RadioGroup(tr("Out2 (KO) Polarity"), polarity, page);
    SignalModeGroup =
        new RadioGroup(tr("Signal Mode"), {tr("at Offset Position"), tr("at Home Position")}, page);
    ReturnTravelMonitoringGroup =
        new RadioGroup(tr("Return Travel Monitoring"), {tr("InActive"), tr("Active")}, page);
    MonitoringGroup = new RadioGroup(tr("Monitoring"), {tr("Free Space"), tr("Object")}, page);
    PulseTimeGroup = new RadioGroup(tr("Out Pulse Time"), {tr("Static"), tr("Pulse-Time:")}, page);
    PulseTimeField = MakeNumberField(NumberStyle::Integer, 0, PulseTimeGroup);
    // the field sits beside "Pulse-Time:"
    if (auto* items = qobject_cast<QVBoxLayout*>(PulseTimeGroup->layout())) {
        auto* pulseRow = new QHBoxLayout;
        items->removeWidget(PulseTimeGroup->Button(1));
        pulseRow->addWidget(PulseTimeGroup->Button(1));
        pulseRow->addWidget(PulseTimeField);
        items->insertLayout(1, pulseRow);
    }
    RotationDirectionGroup =
        new RadioGroup(tr("Rotation Direction"), {tr("Counter-Clockwise"), tr("Clockwise")}, page);
    PowerOnMoveGroup = new RadioGroup(tr("Power On Move"), {tr("Inactive"), tr("Active")}, page);

    auto* versionLabel = new QLabel(tr("FSW Version:"), page);
    versionLabel->setBuddy(FirmwareVersionField);
    auto* scannerLabel = new QLabel(tr("Scanner:"), page);
    scannerLabel->setBuddy(ScannerBox);
    auto* top = new QHBoxLayout;
    top->addWidget(versionLabel);
    top->addWidget(FirmwareVersionField);
    top->addSpacing(24);
    top->addWidget(scannerLabel);
    top->addWidget(ScannerBox);
    top->addStretch(1);
    auto* groups = new QGridLayout;
    groups->addWidget(Output1PolarityGroup, 0, 0);
    groups->addWidget(Output2PolarityGroup, 0, 1);
    groups->addWidget(SignalModeGroup, 0, 2);
    groups->addWidget(ReturnTravelMonitoringGroup, 0, 3);
    groups->addWidget(MonitoringGroup, 1, 0);
    groups->addWidget(PulseTimeGroup, 1, 1);
    groups->addWidget(RotationDirectionGroup, 1, 2);
    groups->addWidget(PowerOnMoveGroup, 1, 3);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addStretch(1);

    connect(ScannerBox, &QComboBox::activated, this, &SettingsWindow::ScannerChanged);
    connect(PulseTimeGroup, &RadioGroup::Clicked, this, &SettingsWindow::PulseTimeGroupClicked);
    // the tool page's summary follows the choice, saved or not
    connect(RotationDirectionGroup, &RadioGroup::Clicked, this, &SettingsWindow::ToolTabEntered);
    return page;
}

QWidget* SettingsWindow::BuildDefaultPage() {
    auto* page = new QWidget;
    DefaultAngleField = MakeNumberField(NumberStyle::Float, 2, page);
    DefaultToleranceField = MakeNumberField(NumberStyle::Float, 2, page);
    DefaultIntensityGroup =
        new RadioGroup(tr("Default &Intensity"),
                       {tr(" Ultra-Low "), tr(" Low"), tr(" Medium"), tr(" High")}, page);
    auto* angleLabel = new QLabel(tr("Maximum Teach-Angle:"), page);
    angleLabel->setBuddy(DefaultAngleField);
    auto* toleranceLabel = new QLabel(tr("Default Tolerance:"), page);
    toleranceLabel->setBuddy(DefaultToleranceField);
    auto* fields = new QGridLayout;
    fields->addWidget(angleLabel, 0, 0);
    fields->addWidget(DefaultAngleField, 0, 1);
    fields->addWidget(toleranceLabel, 1, 0);
    fields->addWidget(DefaultToleranceField, 1, 1);
    fields->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    auto* intensity = new QHBoxLayout;
    intensity->addWidget(DefaultIntensityGroup);
    intensity->addStretch(1);
    layout->addLayout(intensity);
    layout->addStretch(1);
    return page;
}

void SettingsWindow::BuildWidgets() {
    DefaultAngleField->Range().SetMinValue(AngleFieldRange.Min);
    DefaultAngleField->Range().SetMaxValue(AngleFieldRange.Max);
    DefaultToleranceField->Range().SetMinValue(ToleranceFieldRange.Min);
    DefaultToleranceField->Range().SetMaxValue(ToleranceFieldRange.Max);
    PulseTimeField->Range().SetMinValue(PulseTimeFieldRange.Min);
    PulseTimeField->Range().SetMaxValue(PulseTimeFieldRange.Max);

    // As wide as the main window, whose place it takes while open.
    QSize size(778, 560);
    if (const MainWindow* main = Context.Windows.Main) {
        size = main->size();
    }
    size.setHeight(std::max(size.height(), minimumSizeHint().height()));
    setFixedSize(size);
    ScaleStatusBar(Context, *StatusBar, width());
}

void SettingsWindow::SetPrinterChoice(PrinterChoice* choice) {
    Printers = choice != nullptr ? choice : DefaultPrinters.get();
}

int SettingsWindow::CurrentHelpContext() const {
    switch (PageTabs->currentIndex()) {
    case ToolPage:
        return HelpContext::ToolSettingsPage;
    case GlobalPage:
        return HelpContext::GlobalSettingsPage;
    case DefaultPage:
        return HelpContext::DefaultSettingsPage;
    default:
        return HelpContext::SettingsWindow;
    }
}

void SettingsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window system's own show (restoring from the task bar) is no opening.
    if (!event->spontaneous()) {
        PrepareToShow();
    }
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    // A double click anywhere in the list, on a line or below the last, means Change.
    if (watched == ToolList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        ChangeClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsWindow::ActivateStatusAndCaption() {
    Context.LiveStatus.ShowOn(StatusBar);
    StatusBar->Repaint();
    setWindowTitle(tr("VG-Config / Settings") + FromAnsi(SourceSuffix(Context.Core.Config)));
}

void SettingsWindow::PrepareToShow() {
    ActivateStatusAndCaption();
    ConfigState& config = Context.Core.Config;
    if (config.TransferBusy) {
        return;
    }
    TakeSnapshots(config);
    PreviousPage = PageTabs->currentIndex();
    UpdateToolButtons();
    const ConfigImage& image = config.ConfigImage;
    RotationDirectionLabel->setText(image.RotDir != 0 ? tr("Clockwise") : tr("CounterClw."));
    FillGlobalPage();
    ToolCountLabel->setText(config.VersionValid ? QString::number(config.ToolCapacity)
                                                : QStringLiteral("---------"));
    ScannerLabel->setText(image.Scanner == 1 || image.Scanner == 2
                              ? ScannerBox->itemText(image.Scanner - 1)
                              : tr("Unknown"));
    DefaultAngleField->SetValue(HundredthsToValue(image.DefaultAngle));
    DefaultToleranceField->SetValue(HundredthsToValue(image.DefaultTolerance));
    DefaultIntensityGroup->SetItemIndex(image.DefaultIntensity);
    ShowToolLines(config.ToolLines.empty() ? -1 : 0);
}

void SettingsWindow::FillGlobalPage() {
    const ConfigState& config = Context.Core.Config;
    const ConfigImage& image = config.ConfigImage;
    ReturnTravelMonitoringGroup->SetItemIndex(image.ReturnTrvMon);
    MonitoringGroup->SetItemIndex(image.Monitoring);
    RotationDirectionGroup->SetItemIndex(image.RotDir);
    PowerOnMoveGroup->SetItemIndex(image.PowerOnMove);
    SignalModeGroup->SetItemIndex(image.SignalMode);
    Output1PolarityGroup->SetItemIndex(image.Out1Polarity);
    Output2PolarityGroup->SetItemIndex(image.Out2Polarity);
    if (image.OutPulseTime > 0) {
        PulseTimeField->SetValue(image.OutPulseTime);
        PulseTimeGroup->SetItemIndex(1);
        PulseTimeField->setEnabled(true);
        LastPulseTime = image.OutPulseTime;
    } else {
        PulseTimeField->SetValue(0);
        PulseTimeGroup->SetItemIndex(0);
        PulseTimeField->setEnabled(false);
        LastPulseTime = 20;
    }
    FirmwareVersionField->setText(
        config.VersionValid ? FromAnsi(FirmwareVersionText(config.FirmwareInfo)) : QString());
    ScannerBox->setCurrentIndex(image.Scanner == 1 || image.Scanner == 2 ? image.Scanner - 1 : -1);
}

// A radio group that shows no choice (its field held a value outside the items) leaves the
// field as the image has it, rather than writing -1 to the unit.
void SettingsWindow::ReadPagesIntoImage(ConfigImage& target) const {
    const ConfigImage& image = Context.Core.Config.ConfigImage;
    target.ReturnTrvMon = ReturnTravelMonitoringGroup->ValueOr(image.ReturnTrvMon);
    target.Monitoring = MonitoringGroup->ValueOr(image.Monitoring);
    target.RotDir = RotationDirectionGroup->ValueOr(image.RotDir);
    target.PowerOnMove = PowerOnMoveGroup->ValueOr(image.PowerOnMove);
    target.Out1Polarity = Output1PolarityGroup->ValueOr(image.Out1Polarity);
    target.Out2Polarity = Output2PolarityGroup->ValueOr(image.Out2Polarity);
    target.SignalMode = SignalModeGroup->ValueOr(image.SignalMode);
    // no scanner chosen is written as 0, the unknown model
    target.Scanner = ScannerBox->currentIndex() + 1;
    target.OutPulseTime =
        PulseTimeGroup->ItemIndex() == 1 ? TruncatedInt(PulseTimeField->Value()) : 0;
    target.DefaultAngle = ValueToHundredths(DefaultAngleField->Value());
    target.DefaultTolerance = ValueToHundredths(DefaultToleranceField->Value());
    target.DefaultIntensity = DefaultIntensityGroup->ValueOr(image.DefaultIntensity);
}

bool SettingsWindow::GlobalsChanged(const ConfigImage& record) const {
    auto differs = [](const RadioGroup* group, int32_t field) {
        return group->ValueOr(field) != field;
    };
    return differs(ReturnTravelMonitoringGroup, record.ReturnTrvMon) ||
           differs(MonitoringGroup, record.Monitoring) ||
           differs(RotationDirectionGroup, record.RotDir) ||
           differs(PowerOnMoveGroup, record.PowerOnMove) ||
           ScannerBox->currentIndex() + 1 != record.Scanner ||
           differs(Output1PolarityGroup, record.Out1Polarity) ||
           differs(Output2PolarityGroup, record.Out2Polarity) ||
           differs(SignalModeGroup, record.SignalMode) ||
           TruncatedInt(PulseTimeField->Value()) != record.OutPulseTime ||
           differs(DefaultIntensityGroup, record.DefaultIntensity) ||
           ValueToHundredths(DefaultAngleField->Value()) != record.DefaultAngle ||
           ValueToHundredths(DefaultToleranceField->Value()) != record.DefaultTolerance;
}

void SettingsWindow::UpdateToolButtons() {
    const ConfigState& config = Context.Core.Config;
    const bool empty = config.ToolLines.empty();
    NewButton->setEnabled(config.ToolLines.size() < static_cast<size_t>(ToolSlotCount));
    ChangeButton->setEnabled(!empty);
    DeleteButton->setEnabled(!empty);
    const bool unit = config.ConfigSource == ConfigSource::Unit;
    TeachButton->setEnabled(unit && !empty);
    StartButton->setEnabled(unit && !empty);
    const bool file = config.ConfigSource == ConfigSource::File;
    AngleFromTableButton->setEnabled(!file);
    CurrentAngleButton->setEnabled(!file);
    ShowTargetAngle();
}

void SettingsWindow::ShowToolLines(int selectLine) {
    const ConfigState& config = Context.Core.Config;
    {
        const QSignalBlocker quiet(ToolList);
        FillToolTable(*ToolList, config.ToolLines);
        SelectToolLine(*ToolList, selectLine);
    }
    ShowTargetAngle();
}

int SettingsWindow::SelectedTool() const {
    const int tool = ToolNumberOfLine(Context.Core.Config, ToolList->currentRow());
    return tool >= 0 && tool < ToolSlotCount ? tool : -1;
}

// What the target angle shows follows the selected line and the live angle whichever way
// they change (the program reselects lines too), so Start always sends what is shown for the
// tool that is selected. A configuration from a file has no unit to move: 0.
void SettingsWindow::ShowTargetAngle() {
    const ConfigState& config = Context.Core.Config;
    if (config.ConfigSource == ConfigSource::File) {
        TargetAngleField->SetValue(0);
        return;
    }
    if (AngleFromTableButton->isChecked()) {
        const int tool = SelectedTool();
        if (tool >= 0) {
            TargetAngleField->SetValue(config.ConfigImage.Tools[static_cast<size_t>(tool)].Angle);
        } else if (config.ToolLines.empty()) {
            TargetAngleField->SetValue(0);
        }
    } else if (CurrentAngleButton->isChecked()) {
        // no angle measured yet (-1) shows 0, never -0.01
        const int32_t measured = Context.Core.Display.MeasuredAngle;
        TargetAngleField->SetValue(measured < 0 ? 0.0 : measured * 0.01);
    }
}

void SettingsWindow::FinishFieldEdit() {
    auto* field = qobject_cast<NumberField*>(focusWidget());
    if (field != nullptr && isAncestorOf(field)) {
        field->clearFocus();
    }
}

void SettingsWindow::RestoreSettingsFromSnapshot() {
    ConfigState& config = Context.Core.Config;
    const auto tools = config.ConfigImage.Tools;
    config.ConfigImage = config.SavedImage;
    config.ConfigImage.Tools = tools;
}

bool SettingsWindow::SaveWithWindows() {
    // Back where the configuration came from.
    const ConfigState& config = Context.Core.Config;
    const MainWindow* main = Context.Windows.Main;
    const bool verify = main != nullptr && main->VerifyAfterSave();
    const bool saved = config.ConfigSource == ConfigSource::Unit
                           ? SaveToUnitWithWindows(Context, verify)
                           : SaveToFilesWithWindows(Context, config.ConfigFileName);
    JobEnded();
    return saved;
}

void SettingsWindow::PageChanged(int page) {
    if (SwitchingPage) {
        return;
    }
    if (page == ToolPage) {
        ToolTabEntered();
        if (Context.Core.Config.ConfigSource == ConfigSource::Unit &&
            GlobalsChanged(Context.Core.Config.ConfigImage)) {
            AskAboutChangedGlobals();
        }
    }
    PreviousPage = PageTabs->currentIndex();
}

void SettingsWindow::AskAboutChangedGlobals() {
    ConfigState& config = Context.Core.Config;
    auto switchBack = [this] {
        SwitchingPage = true;
        PageTabs->setCurrentIndex(PreviousPage);
        SwitchingPage = false;
    };
    switch (Context.Messages.ShowMessage(GlobalsChangedQuestion, MessageKind::Warning,
                                         MessageButtons::YesNoCancel)) {
    case MessageResult::Yes:
        ReadPagesIntoImage(config.ConfigImage);
        if (SaveWithWindows()) {
            TakeSnapshots(config);
        } else {
            RestoreSettingsFromSnapshot();
            switchBack();
        }
        break;
    case MessageResult::No:
        switchBack();
        break;
    default:
        switchBack();
        FillGlobalPage();
        break;
    }
}

void SettingsWindow::ToolTabEntered() {
    RotationDirectionLabel->setText(RotationDirectionGroup->ItemIndex() == 1 ? tr("Clockwise")
                                                                             : tr("CounterClw."));
}

void SettingsWindow::ScannerChanged(int index) {
    ScannerLabel->setText(ScannerBox->itemText(index));
}

// The pulse time reaches the image through ReadPagesIntoImage like every other page edit, so
// that discarding the global changes discards it too.
void SettingsWindow::PulseTimeGroupClicked() {
    const double value = PulseTimeField->Value();
    if (value != 0) {
        LastPulseTime = TruncatedInt(value);
    }
    if (PulseTimeGroup->ItemIndex() == 1) {
        PulseTimeField->setEnabled(true);
        PulseTimeField->SetValue(LastPulseTime);
    } else {
        PulseTimeField->setEnabled(false);
        PulseTimeField->SetValue(0);
    }
}

void SettingsWindow::ToolListClicked() {
    if (AngleFromTableButton->isChecked()) {
        ShowTargetAngle();
    }
}

void SettingsWindow::NewClicked() {
    FinishFieldEdit();
    ToolEditContext& edit = ToolEdit;
    edit.EditMode = ToolEditNew;
    edit.StartLine = ToolList->currentRow();
    edit.Preset.Angle = static_cast<float>(DefaultAngleField->Value());
    edit.Preset.Tolerance = static_cast<float>(DefaultToleranceField->Value());
    edit.Preset.Intensity =
        DefaultIntensityGroup->ValueOr(Context.Core.Config.ConfigImage.DefaultIntensity);
    RunEditor();
}

void SettingsWindow::ChangeClicked() {
    ToolEditContext& edit = ToolEdit;
    edit.EditMode = ToolEditChange;
    edit.StartLine = ToolList->currentRow();
    RunEditor();
}

void SettingsWindow::RunEditor() {
    ToolEditor editor(Context, ToolEdit);
    EditorPlace.PlaceAgain(editor);
    Editor = &editor;
    editor.exec();
    Editor = nullptr;
    EditorPlace.Keep(editor);
    ReselectAfterEditor();
}

// The line of the tool the editor stored, or the line it was opened on when it stored
// nothing new.
void SettingsWindow::ReselectAfterEditor() {
    const ToolEditContext& edit = ToolEdit;
    const ConfigState& config = Context.Core.Config;
    int line = edit.StartLine;
    if (edit.EditTool >= 0 && edit.EditTool < ToolSlotCount) {
        line = config.ToolLineIndex[static_cast<size_t>(edit.EditTool)];
    }
    ShowToolLines(line);
    UpdateToolButtons();
}

void SettingsWindow::DeleteClicked() {
    ConfigState& config = Context.Core.Config;
    const int line = ToolList->currentRow();
    const int tool = SelectedTool();
    if (tool < 0) {
        return;
    }
    const int reselect = line == ToolList->count() - 1 ? line - 1 : line;
    config.ConfigImage.Tools[static_cast<size_t>(tool)].Programmed = 0;
    config.ToolNameTable[static_cast<size_t>(tool)].Defined = 0;
    BuildToolLines(config);
    ShowToolLines(reselect);
    UpdateToolButtons();
}

void SettingsWindow::AngleFromTableClicked() {
    AngleFromTableButton->setChecked(true);
    ShowTargetAngle();
}

void SettingsWindow::CurrentAngleClicked() {
    CurrentAngleButton->setChecked(true);
    ShowTargetAngle();
}

DeviceRequest SettingsWindow::BuildMoveRequest(uint8_t code) const {
    const ConfigImage& image = Context.Core.Config.ConfigImage;
    if (code == RequestCode::Teach) {
        return BuildTeachRequest(image);
    }
    const int tool = SelectedTool();
    ToolRecord none{};
    const ToolRecord& record = tool >= 0 ? image.Tools[static_cast<size_t>(tool)] : none;
    return BuildStartRequest(record, TargetAngleField->Value());
}

void SettingsWindow::StartClicked() {
    if (SelectedTool() < 0) {
        return;
    }
    Context.Core.Status.QueueCommand(BuildMoveRequest(RequestCode::Start));
}

void SettingsWindow::TeachClicked() {
    const int tool = SelectedTool();
    if (tool < 0) {
        return;
    }
    Context.Core.Status.QueueCommand(BuildMoveRequest(RequestCode::Teach));
    Context.Core.Display.TeachTarget = tool;
}

void SettingsWindow::SaveClicked() {
    FinishFieldEdit();
    ConfigState& config = Context.Core.Config;
    ReadPagesIntoImage(config.ConfigImage);
    if (!DiffersFromSnapshots(config)) {
        return;
    }
    if (SaveWithWindows()) {
        TakeSnapshots(config);
    }
}

void SettingsWindow::SaveAsClicked() {
    FinishFieldEdit();
    ConfigState& config = Context.Core.Config;
    ReadPagesIntoImage(config.ConfigImage);
    const SourceChoice choice = ChooseSource(Context, ChooserPurpose::Save);
    if (choice.Source == ConfigSource::None) {
        UpdateToolButtons();
        return;
    }
    // The configuration now belongs where it was saved to, whether the save succeeds or not.
    config.ConfigSource = choice.Source;
    if (choice.Source == ConfigSource::File) {
        config.ConfigFileName = choice.FileName;
        config.NamespaceIdValid = CuIdFromFileName(choice.FileName, config.NamespaceInfo);
    }
    if (SaveWithWindows()) {
        TakeSnapshots(config);
    }
    UpdateToolButtons();
}

void SettingsWindow::PrintClicked() {
    FinishFieldEdit();
    ConfigState& config = Context.Core.Config;
    // The pages as they stand, saved or not.
    ConfigImage shown = config.ConfigImage;
    ReadPagesIntoImage(shown);
    QPrinter printer(QPrinter::HighResolution);
    QString pdfPath;
    if (!Printers->SelectPrinter(printer)) {
        pdfPath = ReportPdfPath(config);
        MakeUnitDataFolder(config.DataDir); // the usual place of the file
        PrintToPdfFile(printer, pdfPath);
    }
    PrinterCanvas canvas(printer);
    BusyWindow busy;
    const bool printed = PrintReport(config, shown, canvas, busy,
                                     ToAnsi(ReportDateTimeText(QDateTime::currentDateTime())));
    JobEnded();
    if (!printed) {
        const QString text =
            pdfPath.isEmpty()
                ? QStringLiteral("The report could not be printed.")
                : QStringLiteral("The report could not be written to\n%1").arg(pdfPath);
        Context.Messages.ShowMessage(text.toStdString(), MessageKind::Error, MessageButtons::Ok);
    } else if (!pdfPath.isEmpty()) {
        Context.Messages.ShowMessage(
            QStringLiteral("No printer is installed. The report was written to\n%1")
                .arg(pdfPath)
                .toStdString(),
            MessageKind::Information, MessageButtons::Ok);
    }
}

bool SettingsWindow::MayClose() {
    FinishFieldEdit();
    ConfigState& config = Context.Core.Config;
    ReadPagesIntoImage(config.ConfigImage);
    if (!DiffersFromSnapshots(config)) {
        return true;
    }
    switch (Context.Messages.ShowMessage(SaveQuestion, MessageKind::Confirmation,
                                         MessageButtons::YesNoCancel)) {
    case MessageResult::Yes:
        if (SaveWithWindows()) {
            TakeSnapshots(config);
            return true;
        }
        RestoreSettingsFromSnapshot();
        return false;
    case MessageResult::No:
        return true;
    default:
        RestoreSettingsFromSnapshot();
        return false;
    }
}

void SettingsWindow::done(int result) {
    if (!MayClose()) {
        return;
    }
    Context.Core.Config.NamespaceIdValid = false;
    QDialog::done(result);
}

void SettingsWindow::MeasuredAngleShown(int32_t /*hundredths*/) {
    if (CurrentAngleButton->isChecked()) {
        ShowTargetAngle();
    }
}

void SettingsWindow::ToolAngleTaught(int toolNr) {
    if (toolNr >= 0 && toolNr < ToolSlotCount) {
        ShowToolLines(Context.Core.Config.ToolLineIndex[static_cast<size_t>(toolNr)]);
    }
}

void SettingsWindow::EditorAngleTaught(double degrees) {
    // A teach that ends after its editor closed has no field left to show the angle in.
    if (Editor != nullptr) {
        Editor->TaughtAngle(degrees);
    }
}

} // namespace vg
