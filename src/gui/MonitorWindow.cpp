#include "gui/MonitorWindow.h"

#include "gui/ButtonKeys.h"
#include "gui/CoreTexts.h"
#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/ManualWindow.h"
#include "gui/MonitorTexts.h"
#include "gui/StatusLamps.h"
#include "gui/TextCodec.h"
#include "gui/TransferActions.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>

namespace vg {

namespace {

constexpr int ClientWidth = 632;
constexpr int ClientHeight = 434;
constexpr int IndicatorSize = 32;
constexpr int RowHeight = 24;
const QString Placeholder = QStringLiteral("12"); // what the value fields show until filled

QColor ToQColor(uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QFrame* MakeBox(QWidget* parent, const QRect& geometry) {
    auto* box = new QFrame(parent);
    box->setFrameStyle(QFrame::Panel | QFrame::Raised);
    box->setGeometry(geometry);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

QLabel* MakeLamp(QWidget* parent, int y) {
    auto* lamp = new QLabel(parent);
    lamp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lamp->setAutoFillBackground(true);
    lamp->setGeometry(140, y + 1, 48, RowHeight - 6);
    return lamp;
}

} // namespace

MonitorWindow::MonitorWindow(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context),
      OnlineCanvas(IndicatorSize, IndicatorSize, QImage::Format_RGB32) {
    setWindowTitle(tr("VG-Config / Monitor Mode"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    OnlineCanvas.fill(ButtonFace());
    BuildStateFrame();
    BuildCurrentToolFrame();
    const ToolTable table = CreateToolTable(this, QRect(8, 168, 472, 216));
    ColumnHeadings = table.Headings;
    ToolList = table.List;
    BuildActualToolFrame();
    BuildBottomRow();
    PressFocusedButtonOnEnter(*this);
    InstallContextHelp(this, Context.Help, HelpContext::MonitorMode);
    Context.LiveStatus.SetMonitor(this);
}

MonitorWindow::~MonitorWindow() {
    Context.LiveStatus.SetMonitor(nullptr);
}

void MonitorWindow::BuildStateFrame() {
    StateFrame = MakeBox(this, QRect(8, 8, 300, 152));
    StateHeading = MakeLabel(StateFrame, tr("State:"), QRect(8, 4, 200, 20));
    const auto row = [](int i) {
        return 28 + i * RowHeight;
    };
    Output1Caption = MakeLabel(StateFrame, tr("Out 1 (OK):"), QRect(12, row(0), 120, 20));
    Output1Lamp = MakeLamp(StateFrame, row(0));
    Output2Caption = MakeLabel(StateFrame, tr("Out 2 (KO):"), QRect(12, row(1), 120, 20));
    Output2Lamp = MakeLamp(StateFrame, row(1));
    ZeroPositionCaption = MakeLabel(StateFrame, tr("Zero-Position:"), QRect(12, row(2), 120, 20));
    ZeroPositionLamp = MakeLamp(StateFrame, row(2));
    ScanningCaption = MakeLabel(StateFrame, tr("Scanning:"), QRect(12, row(3), 120, 20));
    ScanningLamp = MakeLamp(StateFrame, row(3));
    MeasuredAngleCaption = MakeLabel(StateFrame, tr("Measured-Angle:"), QRect(12, row(4), 120, 20));
    MeasuredAngleValue = MakeLabel(StateFrame, Placeholder, QRect(140, row(4), 80, 20),
                                   Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = MeasuredAngleValue->font();
    bold.setBold(true);
    MeasuredAngleValue->setFont(bold);
    for (QLabel* lamp : {Output1Lamp, Output2Lamp, ZeroPositionLamp, ScanningLamp}) {
        SetLamp(lamp, ButtonFace());
    }
}

void MonitorWindow::BuildCurrentToolFrame() {
    CurrentToolFrame = MakeBox(this, QRect(316, 8, 308, 152));
    CurrentToolHeading = MakeLabel(CurrentToolFrame, tr("Current Tool:"), QRect(8, 4, 200, 20));
    const auto row = [](int i) {
        return 28 + i * RowHeight;
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    ToolNumberCaption = MakeLabel(CurrentToolFrame, tr("Tool-Nr."), QRect(12, row(0), 96, 20));
    ToolNumberValue = MakeLabel(CurrentToolFrame, Placeholder, QRect(112, row(0), 64, 20), right);
    TargetAngleCaption =
        MakeLabel(CurrentToolFrame, tr("Target-Angle:"), QRect(12, row(1), 96, 20));
    TargetAngleValue = MakeLabel(CurrentToolFrame, Placeholder, QRect(112, row(1), 64, 20), right);
    ToleranceCaption = MakeLabel(CurrentToolFrame, tr("Tolerance:"), QRect(12, row(2), 96, 20));
    ToleranceValue = MakeLabel(CurrentToolFrame, Placeholder, QRect(112, row(2), 64, 20), right);
    IntensityCaption = MakeLabel(CurrentToolFrame, tr("Intensity:"), QRect(12, row(3), 96, 20));
    IntensityValue = MakeLabel(CurrentToolFrame, Placeholder, QRect(112, row(3), 64, 20), right);
    NameCaption = MakeLabel(CurrentToolFrame, tr("Name:"), QRect(12, row(4), 96, 20));
    NameValue = MakeLabel(CurrentToolFrame, Placeholder, QRect(112, row(4), 188, 20));
}

void MonitorWindow::BuildActualToolFrame() {
    ActualToolFrame = MakeBox(this, QRect(488, 168, 136, 56));
    ActualToolCaption = MakeLabel(ActualToolFrame, tr("Actual ToolNr:"), QRect(8, 18, 88, 20));
    ActualToolValue = MakeLabel(ActualToolFrame, Placeholder, QRect(96, 18, 32, 20),
                                Qt::AlignRight | Qt::AlignVCenter);
}

void MonitorWindow::BuildBottomRow() {
    MessagePanel = MakeLabel(this, QString(), QRect(8, 394, 400, 32));
    MessagePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    MessagePanel->setIndent(6);
    OnlineLamp = new QLabel(this);
    OnlineLamp->setGeometry(420, 394, IndicatorSize, IndicatorSize);
    OnlineLamp->setPixmap(QPixmap::fromImage(OnlineCanvas));
    CloseButton = new QPushButton(tr("&Close"), this);
    CloseButton->setGeometry(544, 394, 80, 32);
    CloseButton->setAutoDefault(false);
    connect(CloseButton, &QPushButton::clicked, this, &MonitorWindow::CloseClicked);
}

QColor MonitorWindow::ButtonFace() const {
    return palette().color(QPalette::Button);
}

void MonitorWindow::SetLamp(QLabel* lamp, const QColor& colour) {
    QPalette colours = lamp->palette();
    colours.setColor(QPalette::Window, colour);
    lamp->setPalette(colours);
}

void MonitorWindow::OpenFromMenu() {
    ConfigState& config = Context.Core.Config;
    config.ConfigSource = ConfigSource::Unit;
    if (!LoadConfigurationFromUnit(Context) || config.ToolLines.empty()) {
        Context.Messages.ShowMessage("No tool-values in VGL available!", MessageKind::Information,
                                     MessageButtons::Ok);
        return;
    }
    // No status bar: the live status is drawn into this window, of both record kinds.
    Context.LiveStatus.ShowOn(nullptr);
    Context.Core.Status.AskBothKinds(true);
    Context.Windows.Main->OpenWorkingWindow(this, WindowInFront::Monitor);
    // The status bar takes kind 0 records only.
    Context.Core.Status.AskBothKinds(false);
}

void MonitorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system keeps what it shows.
    if (!event->spontaneous()) {
        PrepareToShow();
    }
}

void MonitorWindow::PrepareToShow() {
    OnlineCanvas.fill(ButtonFace());
    OnlineLamp->setPixmap(QPixmap::fromImage(OnlineCanvas));
    FillToolTable(*ToolList, Context.Core.Config.ToolLines);
    SelectToolLine(*ToolList, 0);
    // The box still shows the tool of the last opening; the configuration was just uploaded
    // again, so its values are taken afresh rather than left as they were.
    if (LastShownTool >= 0) {
        ShowCurrentTool(LastShownTool);
    }
}

void MonitorWindow::MonitorShowOutputs() {
    const StatusLampState& lamps = Context.LiveStatus.Lamps();
    SetLamp(Output1Lamp, lamps.Out1On ? ToQColor(LampColour::Green) : ButtonFace());
    SetLamp(Output2Lamp, lamps.Out2On ? ToQColor(LampColour::Red) : ButtonFace());
}

void MonitorWindow::SetZeroPositionLamp(bool on) {
    SetLamp(ZeroPositionLamp, on ? ToQColor(LampColour::Green) : ButtonFace());
}

void MonitorWindow::SetScanningLamp(bool on) {
    SetLamp(ScanningLamp, on ? ToQColor(LampColour::Green) : ButtonFace());
}

void MonitorWindow::SetMessage(const std::string& text) {
    MessagePanel->setText(CoreText(FromAnsi(text)));
}

void MonitorWindow::SetCurrentAngle(const std::string& text) {
    MeasuredAngleValue->setText(FromAnsi(text));
}

void MonitorWindow::MonitorShowLed() {
    const std::optional<uint32_t> colour = MonitorLedColour(Context.LiveStatus.Lamps().Heartbeat);
    if (!colour) {
        return; // between the blinks the picture stays as it is
    }
    const PanelRect circle = MonitorLedCircle({0, 0, OnlineCanvas.width(), OnlineCanvas.height()});
    QPainter painter(&OnlineCanvas);
    painter.setPen(ToQColor(LampColour::Outline));
    painter.setBrush(ToQColor(*colour));
    // The pen adds a pixel to the right and bottom: the circle keeps its 20 pixels.
    painter.drawEllipse(QRect(circle.Left, circle.Top, circle.Right - circle.Left - 1,
                              circle.Bottom - circle.Top - 1));
    painter.end();
    OnlineLamp->setPixmap(QPixmap::fromImage(OnlineCanvas));
}

void MonitorWindow::MonitorShowTool(int kind, int toolNr) {
    const auto tool = static_cast<int16_t>(toolNr);
    if (kind == 1) {
        ActualToolValue->setText(QString::number(tool));
        SelectToolLine(*ToolList, MonitorActualToolLine(Context.Core.Config, tool));
        return;
    }
    if (tool < 0 || tool == LastShownTool) {
        return;
    }
    ShowCurrentTool(tool);
}

void MonitorWindow::ShowCurrentTool(int16_t toolNr) {
    const CurrentToolBox box = MonitorCurrentToolBox(Context.Core.Config, toolNr);
    if (!box.Programmed) {
        SelectToolLine(*ToolList, -1);
    }
    ToolNumberValue->setText(FromAnsi(box.ToolNr));
    TargetAngleValue->setText(FromAnsi(box.TargetAngle));
    ToleranceValue->setText(FromAnsi(box.Tolerance));
    IntensityValue->setText(FromAnsi(box.Intensity));
    NameValue->setText(FromAnsi(box.Name));
    LastShownTool = toolNr;
}

void MonitorWindow::CloseClicked() {
    // The identifier is read again with the next configuration.
    Context.Core.Config.NamespaceIdValid = false;
    accept();
}

} // namespace vg
