#include "gui/SettingsWindow.h"

#include "config/FilePaths.h"
#include "config/ReportLayout.h"
#include "config/TextFormats.h"
#include "config/ValueRanges.h"
#include "gui/ButtonKeys.h"
#include "gui/HelpViewer.h"
#include "gui/MoveRequest.h"
#include "gui/MainWindow.h"
#include "gui/PrinterCanvas.h"
#include "gui/RadioGroup.h"
#include "gui/StatusBarWidget.h"
#include "gui/TextCodec.h"
#include "gui/NumberField.h"
#include "gui/ToolTable.h"
#include "gui/TransferActions.h"
#include "gui/ToolEditor.h"
#include "gui/SourceChooser.h"
#include "gui/BusyWindow.h"

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

NumberField* MakeNumberField(TEditType style, int decimals, QWidget* parent) {
    auto* field = new NumberField(parent);
    field->SetEditStyle(style);
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
    setWindowTitle(QStringLiteral("VG-Config / Settings"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);

    PGC_Settings = new QTabWidget(this);
    TS_ToolSettings = BuildToolPage();
    TS_GlobalSettings = BuildGlobalPage();
    TS_DefaultSettings = BuildDefaultPage();
    PGC_Settings->addTab(TS_ToolSettings, QStringLiteral("T&ool-Settings"));
    PGC_Settings->addTab(TS_GlobalSettings, QStringLiteral("&Global-Settings"));
    PGC_Settings->addTab(TS_DefaultSettings, QStringLiteral("&Default-Settings"));
    // The first opening shows the global settings; later openings the page last shown.
    PGC_Settings->setCurrentIndex(GlobalPage);

    BN_Print = MakeButton(QStringLiteral("&Print"), this);
    BN_Save = MakeButton(QStringLiteral("&Save"), this);
    BN_SaveAs = MakeButton(QStringLiteral("Save &As"), this);
    BN_Close = MakeButton(QStringLiteral("&Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {BN_Print, BN_Save, BN_SaveAs, BN_Close}) {
        button->setMinimumWidth(96);
        buttons->addWidget(button);
    }
    StatusBar1 = new StatusBarWidget(Context.Core.Display, Context.Core.Poll, this);
    StatusBar1->MarkSimulatedUnit(Context.Core.Settings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 0);
    body->addWidget(PGC_Settings, 1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);
    layout->addWidget(StatusBar1);

    connect(PGC_Settings, &QTabWidget::currentChanged, this, &SettingsWindow::PGC_SettingsChange);
    connect(BN_Print, &QPushButton::clicked, this, &SettingsWindow::BN_PrintClick);
    connect(BN_Save, &QPushButton::clicked, this, &SettingsWindow::BN_SaveClick);
    connect(BN_SaveAs, &QPushButton::clicked, this, &SettingsWindow::BN_SaveAsClick);
    connect(BN_Close, &QPushButton::clicked, this, &QDialog::accept);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this,
            [this] { Context.Help.ShowTopic(CurrentHelpContext()); });

    FormCreate();
    PressFocusedButtonOnEnter(*this);
}

SettingsWindow::~SettingsWindow() = default;

QWidget* SettingsWindow::BuildToolPage() {
    auto* page = new QWidget;
    const ToolTable table = CreateToolTable(page);
    LB_TS_ToolPar = table.List;
    LB_TS_ToolPar->setObjectName(QStringLiteral("LB_TS_ToolPar"));
    LB_TS_ToolPar->viewport()->installEventFilter(this);

    BN_Teach = MakeButton(QStringLiteral("&Teach"), page);
    BN_Start = MakeButton(QStringLiteral("St&art"), page);
    BN_Change = MakeButton(QStringLiteral("C&hange"), page);
    BN_New = MakeButton(QStringLiteral("&New"), page);
    BN_Delete = MakeButton(QStringLiteral("&Delete"), page);

    GB_TargetAngle = new QGroupBox(QStringLiteral("Start \"Ta&rget Angle\""), page);
    RB_AngleFromTable = new QRadioButton(QStringLiteral("Angle from Table"), GB_TargetAngle);
    RB_CurrentAngle = new QRadioButton(QStringLiteral("Measured  Angle"), GB_TargetAngle);
    EB_AngleVal = MakeNumberField(esFloat, 2, GB_TargetAngle);
    EB_AngleVal->Range().SetMinValue(-100.0);
    EB_AngleVal->Range().SetMaxValue(300.0);
    // shows the target only; the user never types it
    EB_AngleVal->setEnabled(false);
    auto* target = new QGridLayout(GB_TargetAngle);
    target->addWidget(RB_AngleFromTable, 0, 0, 1, 2);
    target->addWidget(RB_CurrentAngle, 1, 0, 1, 2);
    auto* angleLabel = new QLabel(QStringLiteral("Angle:"), GB_TargetAngle);
    angleLabel->setBuddy(EB_AngleVal);
    target->addWidget(angleLabel, 2, 0);
    target->addWidget(EB_AngleVal, 2, 1);

    GB_Globals = new QGroupBox(QStringLiteral("Global Parameters:"), page);
    L_TS_RotDir = new QLabel(GB_Globals);
    L_TS_Scanner = new QLabel(GB_Globals);
    L_ToolAnz = new QLabel(GB_Globals);
    auto* globals = new QGridLayout(GB_Globals);
    globals->addWidget(new QLabel(QStringLiteral("Rotation direction:"), GB_Globals), 0, 0);
    globals->addWidget(L_TS_RotDir, 0, 1);
    globals->addWidget(new QLabel(QStringLiteral("Scanner:"), GB_Globals), 1, 0);
    globals->addWidget(L_TS_Scanner, 1, 1);
    globals->addWidget(new QLabel(QStringLiteral("Tool-Storage:"), GB_Globals), 2, 0);
    globals->addWidget(L_ToolAnz, 2, 1);

    auto* commands = new QHBoxLayout;
    commands->addWidget(BN_Teach);
    commands->addWidget(BN_Start);
    auto* edits = new QHBoxLayout;
    edits->addWidget(BN_Change);
    edits->addWidget(BN_New);
    edits->addWidget(BN_Delete);
    auto* right = new QVBoxLayout;
    right->addLayout(commands);
    right->addWidget(GB_TargetAngle);
    right->addLayout(edits);
    right->addWidget(GB_Globals);
    right->addStretch(1);

    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(table.HeadingRow);
    left->addWidget(LB_TS_ToolPar, 1);
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 1);
    columns->addLayout(right);

    connect(LB_TS_ToolPar, &QListWidget::currentRowChanged, this,
            &SettingsWindow::LB_TS_ToolParClick);
    connect(BN_Teach, &QPushButton::clicked, this, &SettingsWindow::BN_TeachClick);
    connect(BN_Start, &QPushButton::clicked, this, &SettingsWindow::BN_StartClick);
    connect(BN_Change, &QPushButton::clicked, this, &SettingsWindow::BN_ChangeClick);
    connect(BN_New, &QPushButton::clicked, this, &SettingsWindow::BN_NewClick);
    connect(BN_Delete, &QPushButton::clicked, this, &SettingsWindow::BN_DeleteClick);
    connect(RB_AngleFromTable, &QRadioButton::clicked, this, &SettingsWindow::RB_AngleFromTableClick);
    connect(RB_CurrentAngle, &QRadioButton::clicked, this, &SettingsWindow::RB_CurrentAngleClick);
    return page;
}

QWidget* SettingsWindow::BuildGlobalPage() {
    auto* page = new QWidget;
    EB_GS_FirmSoftwareVersion = new QLineEdit(page);
    EB_GS_FirmSoftwareVersion->setEnabled(false);
    CB_GS_Scanner = new QComboBox(page);
    CB_GS_Scanner->addItems({QStringLiteral("RZ41"), QStringLiteral("RZ42")});

    const QStringList polarity = {QStringLiteral("N/C (Normally Closed)"),
                                  QStringLiteral("N/O (Normally Open)")};
    RBG_GS_Out1 = new RadioGroup(QStringLiteral("Out1 (OK) Polarity"), polarity, page);
    RBG_GS_Out2 = new RadioGroup(QStringLiteral("Out2 (KO) Polarity"), polarity, page);
    RBG_GS_SignalMode = new RadioGroup(
        QStringLiteral("Signal Mode"),
        {QStringLiteral("at Offset Position"), QStringLiteral("at Home Position")}, page);
    RBG_GS_ReturnTrvMon =
        new RadioGroup(QStringLiteral("Return Travel Monitoring"),
                        {QStringLiteral("InActive"), QStringLiteral("Active")}, page);
    RBG_GS_Mon = new RadioGroup(QStringLiteral("Monitoring"),
                                 {QStringLiteral("Free Space"), QStringLiteral("Object")}, page);
    RBG_GS_OutPulseTime =
        new RadioGroup(QStringLiteral("Out Pulse Time"),
                        {QStringLiteral("Static"), QStringLiteral("Pulse-Time:")}, page);
    EB_GS_OutPulseTime = MakeNumberField(esInteger, 0, RBG_GS_OutPulseTime);
    // the field sits beside "Pulse-Time:"
    if (auto* items = qobject_cast<QVBoxLayout*>(RBG_GS_OutPulseTime->layout())) {
        auto* pulseRow = new QHBoxLayout;
        items->removeWidget(RBG_GS_OutPulseTime->Button(1));
        pulseRow->addWidget(RBG_GS_OutPulseTime->Button(1));
        pulseRow->addWidget(EB_GS_OutPulseTime);
        items->insertLayout(1, pulseRow);
    }
    RBG_GS_RotDir =
        new RadioGroup(QStringLiteral("Rotation Direction"),
                        {QStringLiteral("Counter-Clockwise"), QStringLiteral("Clockwise")}, page);
    RBG_GS_PowerOnMove =
        new RadioGroup(QStringLiteral("Power On Move"),
                        {QStringLiteral("Inactive"), QStringLiteral("Active")}, page);

    auto* versionLabel = new QLabel(QStringLiteral("FSW Version:"), page);
    versionLabel->setBuddy(EB_GS_FirmSoftwareVersion);
    auto* scannerLabel = new QLabel(QStringLiteral("Scanner:"), page);
    scannerLabel->setBuddy(CB_GS_Scanner);
    auto* top = new QHBoxLayout;
    top->addWidget(versionLabel);
    top->addWidget(EB_GS_FirmSoftwareVersion);
    top->addSpacing(24);
    top->addWidget(scannerLabel);
    top->addWidget(CB_GS_Scanner);
    top->addStretch(1);
    auto* groups = new QGridLayout;
    groups->addWidget(RBG_GS_Out1, 0, 0);
    groups->addWidget(RBG_GS_Out2, 0, 1);
    groups->addWidget(RBG_GS_SignalMode, 0, 2);
    groups->addWidget(RBG_GS_ReturnTrvMon, 0, 3);
    groups->addWidget(RBG_GS_Mon, 1, 0);
    groups->addWidget(RBG_GS_OutPulseTime, 1, 1);
    groups->addWidget(RBG_GS_RotDir, 1, 2);
    groups->addWidget(RBG_GS_PowerOnMove, 1, 3);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addStretch(1);

    connect(CB_GS_Scanner, &QComboBox::activated, this, &SettingsWindow::CB_GS_ScannerChange);
    connect(RBG_GS_OutPulseTime, &RadioGroup::Clicked, this,
            &SettingsWindow::RBG_GS_OutPulseTimeClick);
    // the tool page's summary follows the choice, saved or not
    connect(RBG_GS_RotDir, &RadioGroup::Clicked, this, &SettingsWindow::TS_ToolSettingsEnter);
    return page;
}

QWidget* SettingsWindow::BuildDefaultPage() {
    auto* page = new QWidget;
    EB_DS_DefaultAngle = MakeNumberField(esFloat, 2, page);
    EB_DS_DefaultTolerance = MakeNumberField(esFloat, 2, page);
    RBG_DS_DefaultIntensity =
        new RadioGroup(QStringLiteral("Default &Intensity"),
                        {QStringLiteral(" Ultra-Low "), QStringLiteral(" Low"),
                         QStringLiteral(" Medium"), QStringLiteral(" High")},
                        page);
    auto* angleLabel = new QLabel(QStringLiteral("Maximum Teach-Angle:"), page);
    angleLabel->setBuddy(EB_DS_DefaultAngle);
    auto* toleranceLabel = new QLabel(QStringLiteral("Default Tolerance:"), page);
    toleranceLabel->setBuddy(EB_DS_DefaultTolerance);
    auto* fields = new QGridLayout;
    fields->addWidget(angleLabel, 0, 0);
    fields->addWidget(EB_DS_DefaultAngle, 0, 1);
    fields->addWidget(toleranceLabel, 1, 0);
    fields->addWidget(EB_DS_DefaultTolerance, 1, 1);
    fields->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    auto* intensity = new QHBoxLayout;
    intensity->addWidget(RBG_DS_DefaultIntensity);
    intensity->addStretch(1);
    layout->addLayout(intensity);
    layout->addStretch(1);
    return page;
}

void SettingsWindow::FormCreate() {
    EB_DS_DefaultAngle->Range().SetMinValue(AngleFieldRange.Min);
    EB_DS_DefaultAngle->Range().SetMaxValue(AngleFieldRange.Max);
    EB_DS_DefaultTolerance->Range().SetMinValue(ToleranceFieldRange.Min);
    EB_DS_DefaultTolerance->Range().SetMaxValue(ToleranceFieldRange.Max);
    EB_GS_OutPulseTime->Range().SetMinValue(PulseTimeFieldRange.Min);
    EB_GS_OutPulseTime->Range().SetMaxValue(PulseTimeFieldRange.Max);

    // As wide as the main window, whose place it takes while open.
    QSize size(778, 560);
    if (const MainWindow* main = Context.Windows.Main) {
        size = main->size();
    }
    size.setHeight(std::max(size.height(), minimumSizeHint().height()));
    setFixedSize(size);
    ScaleStatusBar(Context, *StatusBar1, width());
}

void SettingsWindow::SetPrinterChoice(PrinterChoice* choice) {
    Printers = choice != nullptr ? choice : DefaultPrinters.get();
}

int SettingsWindow::CurrentHelpContext() const {
    switch (PGC_Settings->currentIndex()) {
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
        FormActivate();
    }
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    // A double click anywhere in the list, on a line or below the last, means Change.
    if (watched == LB_TS_ToolPar->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        BN_ChangeClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsWindow::ActivateStatusAndCaption() {
    Context.Core.Poll.StatusBarTarget = StatusBar1;
    StatusBar1->Repaint();
    setWindowTitle(QStringLiteral("VG-Config / Settings") +
                   FromAnsi(SourceSuffix(Context.Core.Config)));
}

void SettingsWindow::FormActivate() {
    ActivateStatusAndCaption();
    ConfigState& config = Context.Core.Config;
    if (config.TransferBusy) {
        return;
    }
    TakeSnapshots(config);
    PreviousPage = PGC_Settings->currentIndex();
    UpdateToolButtons();
    const ConfigImage& image = config.ConfigImage;
    L_TS_RotDir->setText(image.RotDir != 0 ? QStringLiteral("Clockwise")
                                           : QStringLiteral("CounterClw."));
    FillGlobalPage();
    L_ToolAnz->setText(config.VersionValid ? QString::number(config.ToolCapacity)
                                           : QStringLiteral("---------"));
    L_TS_Scanner->setText(image.Scanner == 1 || image.Scanner == 2
                              ? CB_GS_Scanner->itemText(image.Scanner - 1)
                              : QStringLiteral("Unknown"));
    EB_DS_DefaultAngle->SetValue(HundredthsToValue(image.DefaultAngle));
    EB_DS_DefaultTolerance->SetValue(HundredthsToValue(image.DefaultTolerance));
    RBG_DS_DefaultIntensity->SetItemIndex(image.DefaultIntensity);
    ShowToolLines(config.ToolLines.empty() ? -1 : 0);
}

void SettingsWindow::FillGlobalPage() {
    const ConfigState& config = Context.Core.Config;
    const ConfigImage& image = config.ConfigImage;
    RBG_GS_ReturnTrvMon->SetItemIndex(image.ReturnTrvMon);
    RBG_GS_Mon->SetItemIndex(image.Monitoring);
    RBG_GS_RotDir->SetItemIndex(image.RotDir);
    RBG_GS_PowerOnMove->SetItemIndex(image.PowerOnMove);
    RBG_GS_SignalMode->SetItemIndex(image.SignalMode);
    RBG_GS_Out1->SetItemIndex(image.Out1Polarity);
    RBG_GS_Out2->SetItemIndex(image.Out2Polarity);
    if (image.OutPulseTime > 0) {
        EB_GS_OutPulseTime->SetValue(image.OutPulseTime);
        RBG_GS_OutPulseTime->SetItemIndex(1);
        EB_GS_OutPulseTime->setEnabled(true);
        LastPulseTime = image.OutPulseTime;
    } else {
        EB_GS_OutPulseTime->SetValue(0);
        RBG_GS_OutPulseTime->SetItemIndex(0);
        EB_GS_OutPulseTime->setEnabled(false);
        LastPulseTime = 20;
    }
    EB_GS_FirmSoftwareVersion->setText(
        config.VersionValid ? FromAnsi(FirmwareVersionText(config.FirmwareInfo)) : QString());
    CB_GS_Scanner->setCurrentIndex(image.Scanner == 1 || image.Scanner == 2 ? image.Scanner - 1
                                                                            : -1);
}

// A radio group that shows no choice (its field held a value outside the items) leaves the
// field as the image has it, rather than writing -1 to the unit.
void SettingsWindow::ReadPagesIntoImage(ConfigImage& target) const {
    const ConfigImage& image = Context.Core.Config.ConfigImage;
    target.ReturnTrvMon = RBG_GS_ReturnTrvMon->ValueOr(image.ReturnTrvMon);
    target.Monitoring = RBG_GS_Mon->ValueOr(image.Monitoring);
    target.RotDir = RBG_GS_RotDir->ValueOr(image.RotDir);
    target.PowerOnMove = RBG_GS_PowerOnMove->ValueOr(image.PowerOnMove);
    target.Out1Polarity = RBG_GS_Out1->ValueOr(image.Out1Polarity);
    target.Out2Polarity = RBG_GS_Out2->ValueOr(image.Out2Polarity);
    target.SignalMode = RBG_GS_SignalMode->ValueOr(image.SignalMode);
    // no scanner chosen is written as 0, the unknown model
    target.Scanner = CB_GS_Scanner->currentIndex() + 1;
    target.OutPulseTime =
        RBG_GS_OutPulseTime->ItemIndex() == 1 ? TruncatedInt(EB_GS_OutPulseTime->Value()) : 0;
    target.DefaultAngle = ValueToHundredths(EB_DS_DefaultAngle->Value());
    target.DefaultTolerance = ValueToHundredths(EB_DS_DefaultTolerance->Value());
    target.DefaultIntensity = RBG_DS_DefaultIntensity->ValueOr(image.DefaultIntensity);
}

bool SettingsWindow::GlobalsChanged(const ConfigImage& record) const {
    auto differs = [](const RadioGroup* group, int32_t field) {
        return group->ValueOr(field) != field;
    };
    return differs(RBG_GS_ReturnTrvMon, record.ReturnTrvMon) ||
           differs(RBG_GS_Mon, record.Monitoring) || differs(RBG_GS_RotDir, record.RotDir) ||
           differs(RBG_GS_PowerOnMove, record.PowerOnMove) ||
           CB_GS_Scanner->currentIndex() + 1 != record.Scanner ||
           differs(RBG_GS_Out1, record.Out1Polarity) || differs(RBG_GS_Out2, record.Out2Polarity) ||
           differs(RBG_GS_SignalMode, record.SignalMode) ||
           TruncatedInt(EB_GS_OutPulseTime->Value()) != record.OutPulseTime ||
           differs(RBG_DS_DefaultIntensity, record.DefaultIntensity) ||
           ValueToHundredths(EB_DS_DefaultAngle->Value()) != record.DefaultAngle ||
           ValueToHundredths(EB_DS_DefaultTolerance->Value()) != record.DefaultTolerance;
}

void SettingsWindow::UpdateToolButtons() {
    const ConfigState& config = Context.Core.Config;
    const bool empty = config.ToolLines.empty();
    BN_New->setEnabled(config.ToolLines.size() < static_cast<size_t>(ToolSlotCount));
    BN_Change->setEnabled(!empty);
    BN_Delete->setEnabled(!empty);
    const bool unit = config.ConfigSource == ConfigSourceUnit;
    BN_Teach->setEnabled(unit && !empty);
    BN_Start->setEnabled(unit && !empty);
    const bool file = config.ConfigSource == ConfigSourceFile;
    RB_AngleFromTable->setEnabled(!file);
    RB_CurrentAngle->setEnabled(!file);
    ShowTargetAngle();
}

void SettingsWindow::ShowToolLines(int selectLine) {
    const ConfigState& config = Context.Core.Config;
    {
        const QSignalBlocker quiet(LB_TS_ToolPar);
        FillToolTable(*LB_TS_ToolPar, config.ToolLines);
        SelectToolLine(*LB_TS_ToolPar, selectLine);
    }
    ShowTargetAngle();
}

int SettingsWindow::SelectedTool() const {
    const int tool = ToolNumberOfLine(Context.Core.Config, LB_TS_ToolPar->currentRow());
    return tool >= 0 && tool < ToolSlotCount ? tool : -1;
}

// What the target angle shows follows the selected line and the live angle whichever way
// they change (the program reselects lines too), so Start always sends what is shown for the
// tool that is selected. A configuration from a file has no unit to move: 0.
void SettingsWindow::ShowTargetAngle() {
    const ConfigState& config = Context.Core.Config;
    if (config.ConfigSource == ConfigSourceFile) {
        EB_AngleVal->SetValue(0);
        return;
    }
    if (RB_AngleFromTable->isChecked()) {
        const int tool = SelectedTool();
        if (tool >= 0) {
            EB_AngleVal->SetValue(config.ConfigImage.Tools[static_cast<size_t>(tool)].Angle);
        } else if (config.ToolLines.empty()) {
            EB_AngleVal->SetValue(0);
        }
    } else if (RB_CurrentAngle->isChecked()) {
        // no angle measured yet (-1) shows 0, never -0.01
        const int32_t measured = Context.Core.Display.MeasuredAngle;
        EB_AngleVal->SetValue(measured < 0 ? 0.0 : measured * 0.01);
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
    const bool saved = SaveConfigurationWithWindows(Context);
    JobEnded();
    return saved;
}

void SettingsWindow::PGC_SettingsChange(int page) {
    if (SwitchingPage) {
        return;
    }
    if (page == ToolPage) {
        TS_ToolSettingsEnter();
        if (Context.Core.Config.ConfigSource == ConfigSourceUnit &&
            GlobalsChanged(Context.Core.Config.ConfigImage)) {
            AskAboutChangedGlobals();
        }
    }
    PreviousPage = PGC_Settings->currentIndex();
}

void SettingsWindow::AskAboutChangedGlobals() {
    ConfigState& config = Context.Core.Config;
    auto switchBack = [this] {
        SwitchingPage = true;
        PGC_Settings->setCurrentIndex(PreviousPage);
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

void SettingsWindow::TS_ToolSettingsEnter() {
    L_TS_RotDir->setText(RBG_GS_RotDir->ItemIndex() == 1 ? QStringLiteral("Clockwise")
                                                         : QStringLiteral("CounterClw."));
}

void SettingsWindow::CB_GS_ScannerChange(int index) {
    L_TS_Scanner->setText(CB_GS_Scanner->itemText(index));
}

// The pulse time reaches the image through ReadPagesIntoImage like every other page edit, so
// that discarding the global changes discards it too.
void SettingsWindow::RBG_GS_OutPulseTimeClick() {
    const double value = EB_GS_OutPulseTime->Value();
    if (value != 0) {
        LastPulseTime = TruncatedInt(value);
    }
    if (RBG_GS_OutPulseTime->ItemIndex() == 1) {
        EB_GS_OutPulseTime->setEnabled(true);
        EB_GS_OutPulseTime->SetValue(LastPulseTime);
    } else {
        EB_GS_OutPulseTime->setEnabled(false);
        EB_GS_OutPulseTime->SetValue(0);
    }
}

void SettingsWindow::LB_TS_ToolParClick() {
    if (RB_AngleFromTable->isChecked()) {
        ShowTargetAngle();
    }
}

void SettingsWindow::BN_NewClick() {
    FinishFieldEdit();
    ToolEditContext& edit = Context.ToolEdit;
    edit.EditMode = ToolEditNew;
    edit.StartLine = LB_TS_ToolPar->currentRow();
    edit.Preset.Angle = static_cast<float>(EB_DS_DefaultAngle->Value());
    edit.Preset.Tolerance = static_cast<float>(EB_DS_DefaultTolerance->Value());
    edit.Preset.Intensity =
        RBG_DS_DefaultIntensity->ValueOr(Context.Core.Config.ConfigImage.DefaultIntensity);
    Context.Windows.Editor->exec();
    ReselectAfterEditor();
}

void SettingsWindow::BN_ChangeClick() {
    ToolEditContext& edit = Context.ToolEdit;
    edit.EditMode = ToolEditChange;
    edit.StartLine = LB_TS_ToolPar->currentRow();
    Context.Windows.Editor->exec();
    ReselectAfterEditor();
}

// The line of the tool the editor stored, or the line it was opened on when it stored
// nothing new.
void SettingsWindow::ReselectAfterEditor() {
    const ToolEditContext& edit = Context.ToolEdit;
    const ConfigState& config = Context.Core.Config;
    int line = edit.StartLine;
    if (edit.EditTool >= 0 && edit.EditTool < ToolSlotCount) {
        line = config.ToolLineIndex[static_cast<size_t>(edit.EditTool)];
    }
    ShowToolLines(line);
    UpdateToolButtons();
}

void SettingsWindow::BN_DeleteClick() {
    ConfigState& config = Context.Core.Config;
    const int line = LB_TS_ToolPar->currentRow();
    const int tool = SelectedTool();
    if (tool < 0) {
        return;
    }
    const int reselect = line == LB_TS_ToolPar->count() - 1 ? line - 1 : line;
    config.ConfigImage.Tools[static_cast<size_t>(tool)].Programmed = 0;
    config.ToolNameTable[static_cast<size_t>(tool)].Defined = 0;
    BuildToolLines(config);
    ShowToolLines(reselect);
    UpdateToolButtons();
}

void SettingsWindow::RB_AngleFromTableClick() {
    RB_AngleFromTable->setChecked(true);
    ShowTargetAngle();
}

void SettingsWindow::RB_CurrentAngleClick() {
    RB_CurrentAngle->setChecked(true);
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
    return BuildStartRequest(record, EB_AngleVal->Value());
}

void SettingsWindow::BN_StartClick() {
    if (SelectedTool() < 0) {
        return;
    }
    Context.Core.Status.Status_QueueCommand(BuildMoveRequest(RequestCode::Start));
}

void SettingsWindow::BN_TeachClick() {
    const int tool = SelectedTool();
    if (tool < 0) {
        return;
    }
    Context.Core.Status.Status_QueueCommand(BuildMoveRequest(RequestCode::Teach));
    Context.Core.Display.TeachTarget = tool;
}

void SettingsWindow::BN_SaveClick() {
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

void SettingsWindow::BN_SaveAsClick() {
    FinishFieldEdit();
    ConfigState& config = Context.Core.Config;
    ReadPagesIntoImage(config.ConfigImage);
    Context.ChooserSaveMode = true;
    const uint8_t keptSource = config.ConfigSource;
    const std::string keptFile = config.ConfigFileName;
    // A name the chooser refused took the identifier away; cancelling gives it back.
    const bool keptIdValid = config.NamespaceIdValid;
    const NamespaceInfo keptId = config.NamespaceInfo;
    Context.Windows.Chooser->exec();
    if (Context.SourceConfirmed) {
        if (SaveWithWindows()) {
            TakeSnapshots(config);
        }
    } else {
        config.ConfigSource = keptSource;
        config.ConfigFileName = keptFile;
        config.NamespaceIdValid = keptIdValid;
        config.NamespaceInfo = keptId;
    }
    UpdateToolButtons();
}

void SettingsWindow::BN_PrintClick() {
    FinishFieldEdit();
    ConfigState& config = Context.Core.Config;
    ReadPagesIntoImage(config.PrintSettings);
    QPrinter printer(QPrinter::HighResolution);
    QString pdfPath;
    if (!Printers->SelectPrinter(printer)) {
        pdfPath = ReportPdfPath(config);
        MakeUnitDataFolder(config.DataDir); // the usual place of the file
        PrintToPdfFile(printer, pdfPath);
    }
    PrinterCanvas canvas(printer);
    const bool printed = PrintReport(config, canvas, *Context.Windows.Busy,
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

bool SettingsWindow::FormCloseQuery() {
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
    if (!FormCloseQuery()) {
        return;
    }
    Context.Core.Config.NamespaceIdValid = false;
    QDialog::done(result);
}

void SettingsWindow::MeasuredAngleShown(int32_t /*hundredths*/) {
    if (RB_CurrentAngle->isChecked()) {
        ShowTargetAngle();
    }
}

void SettingsWindow::ToolAngleTaught(int toolNr) {
    if (toolNr >= 0 && toolNr < ToolSlotCount) {
        ShowToolLines(Context.Core.Config.ToolLineIndex[static_cast<size_t>(toolNr)]);
    }
}

void SettingsWindow::EditorAngleTaught(double degrees) {
    if (ToolEditor* editor = Context.Windows.Editor) {
        editor->TaughtAngle(degrees);
    }
}

} // namespace vg
