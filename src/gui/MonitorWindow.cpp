#include "gui/MonitorWindow.h"

#include "gui/ButtonKeys.h"
#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/TextCodec.h"
#include "gui/TransferActions.h"
#include "gui/ManualWindow.h"
#include "status/MonitorTexts.h"
#include "status/StatusLamps.h"

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
    setWindowTitle(QStringLiteral("VG-Config / Monitor Mode"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    OnlineCanvas.fill(ButtonFace());
    BuildStateBox();
    BuildCurrentToolBox();
    const ToolTable table = CreateToolTable(this, QRect(8, 168, 472, 216));
    ColumnHeadings = table.Headings;
    LB_MM_ToolPar = table.List;
    BuildActualToolBox();
    BuildBottomRow();
    PressFocusedButtonOnEnter(*this);
    InstallContextHelp(this, Context.Help, HelpContext::MonitorMode);
}

void MonitorWindow::BuildStateBox() {
    Panel6 = MakeBox(this, QRect(8, 8, 300, 152));
    L_State = MakeLabel(Panel6, QStringLiteral("State:"), QRect(8, 4, 120, 20));
    const auto row = [](int i) {
        return 28 + i * RowHeight;
    };
    L_Out1 = MakeLabel(Panel6, QStringLiteral("Out 1 (OK):"), QRect(12, row(0), 120, 20));
    P_Out1 = MakeLamp(Panel6, row(0));
    L_Out2 = MakeLabel(Panel6, QStringLiteral("Out 2 (KO):"), QRect(12, row(1), 120, 20));
    P_Out2 = MakeLamp(Panel6, row(1));
    L_ZeroPosition =
        MakeLabel(Panel6, QStringLiteral("Zero-Position:"), QRect(12, row(2), 120, 20));
    P_ZeroPosition = MakeLamp(Panel6, row(2));
    L_Scanning = MakeLabel(Panel6, QStringLiteral("Scanning:"), QRect(12, row(3), 120, 20));
    P_Scanning = MakeLamp(Panel6, row(3));
    L_CurrentAngleX =
        MakeLabel(Panel6, QStringLiteral("Measured-Angle:"), QRect(12, row(4), 120, 20));
    L_CurrentAngle = MakeLabel(Panel6, Placeholder, QRect(140, row(4), 80, 20),
                               Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = L_CurrentAngle->font();
    bold.setBold(true);
    L_CurrentAngle->setFont(bold);
    for (QLabel* lamp : {P_Out1, P_Out2, P_ZeroPosition, P_Scanning}) {
        SetLamp(lamp, ButtonFace());
    }
}

void MonitorWindow::BuildCurrentToolBox() {
    Panel11 = MakeBox(this, QRect(316, 8, 308, 152));
    Label1 = MakeLabel(Panel11, QStringLiteral("Current Tool:"), QRect(8, 4, 120, 20));
    const auto row = [](int i) {
        return 28 + i * RowHeight;
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    Label4 = MakeLabel(Panel11, QStringLiteral("Tool-Nr."), QRect(12, row(0), 96, 20));
    L_ToolNr = MakeLabel(Panel11, Placeholder, QRect(112, row(0), 64, 20), right);
    Label5 = MakeLabel(Panel11, QStringLiteral("Target-Angle:"), QRect(12, row(1), 96, 20));
    L_TargetAngle = MakeLabel(Panel11, Placeholder, QRect(112, row(1), 64, 20), right);
    Label6 = MakeLabel(Panel11, QStringLiteral("Tolerance:"), QRect(12, row(2), 96, 20));
    L_Tolerance = MakeLabel(Panel11, Placeholder, QRect(112, row(2), 64, 20), right);
    Label7 = MakeLabel(Panel11, QStringLiteral("Intensity:"), QRect(12, row(3), 96, 20));
    L_Intensity = MakeLabel(Panel11, Placeholder, QRect(112, row(3), 64, 20), right);
    Label8 = MakeLabel(Panel11, QStringLiteral("Name:"), QRect(12, row(4), 96, 20));
    L_Name = MakeLabel(Panel11, Placeholder, QRect(112, row(4), 188, 20));
}

void MonitorWindow::BuildActualToolBox() {
    Panel7 = MakeBox(this, QRect(488, 168, 136, 56));
    Label11 = MakeLabel(Panel7, QStringLiteral("Actual ToolNr:"), QRect(8, 18, 88, 20));
    L_ActToolNr =
        MakeLabel(Panel7, Placeholder, QRect(96, 18, 32, 20), Qt::AlignRight | Qt::AlignVCenter);
}

void MonitorWindow::BuildBottomRow() {
    P_Message = MakeLabel(this, QString(), QRect(8, 394, 400, 32));
    P_Message->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    P_Message->setIndent(6);
    IMG_OnlineState = new QLabel(this);
    IMG_OnlineState->setGeometry(420, 394, IndicatorSize, IndicatorSize);
    IMG_OnlineState->setPixmap(QPixmap::fromImage(OnlineCanvas));
    BN_Close = new QPushButton(QStringLiteral("&Close"), this);
    BN_Close->setGeometry(544, 394, 80, 32);
    BN_Close->setAutoDefault(false);
    connect(BN_Close, &QPushButton::clicked, this, &MonitorWindow::BN_CloseClick);
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
    config.ConfigSource = ConfigSourceUnit;
    if (!LoadConfigurationFromUnit(Context) || config.ToolLines.empty()) {
        Context.Messages.ShowMessage("No tool-values in VGL available!", MessageKind::Information,
                                     MessageButtons::Ok);
        return;
    }
    // No status bar: the poll draws into this window and asks for both record kinds.
    Context.Core.Poll.StatusBarTarget = nullptr;
    Context.Windows.Main->OpenWorkingWindow(this, FrontWindowNr::Monitor);
    // The status bar takes kind 0 records only.
    Context.Core.Poll.StatusKind = 0;
}

void MonitorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system keeps what it shows.
    if (!event->spontaneous()) {
        FormActivate();
    }
}

void MonitorWindow::FormActivate() {
    OnlineCanvas.fill(ButtonFace());
    IMG_OnlineState->setPixmap(QPixmap::fromImage(OnlineCanvas));
    // Nothing is shown as the current tool before a record of this opening came.
    Context.Core.Poll.CurrentToolNr = -1;
    FillToolTable(*LB_MM_ToolPar, Context.Core.Config.ToolLines);
    SelectToolLine(*LB_MM_ToolPar, 0);
    // The box still shows the tool of the last opening; the configuration was just uploaded
    // again, so its values are taken afresh rather than left as they were.
    if (LastShownTool >= 0) {
        ShowCurrentTool(LastShownTool);
    }
}

void MonitorWindow::MonitorShowOutputs() {
    const DisplayState& display = Context.Core.Display;
    SetLamp(P_Out1, display.Out1On ? ToQColor(LampColour::Green) : ButtonFace());
    SetLamp(P_Out2, display.Out2On ? ToQColor(LampColour::Red) : ButtonFace());
}

void MonitorWindow::SetZeroPositionLamp(bool on) {
    SetLamp(P_ZeroPosition, on ? ToQColor(LampColour::Green) : ButtonFace());
}

void MonitorWindow::SetScanningLamp(bool on) {
    SetLamp(P_Scanning, on ? ToQColor(LampColour::Green) : ButtonFace());
}

void MonitorWindow::SetMessage(const std::string& text) {
    P_Message->setText(FromAnsi(text));
}

void MonitorWindow::SetCurrentAngle(const std::string& text) {
    L_CurrentAngle->setText(FromAnsi(text));
}

void MonitorWindow::MonitorShowLed() {
    const std::optional<uint32_t> colour = MonitorLedColour(Context.Core.Poll);
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
    IMG_OnlineState->setPixmap(QPixmap::fromImage(OnlineCanvas));
}

void MonitorWindow::MonitorShowTool() {
    const PollState& poll = Context.Core.Poll;
    const int16_t toolNr = poll.CurrentToolNr;
    if (poll.StatusKind == 1) {
        L_ActToolNr->setText(QString::number(toolNr));
        SelectToolLine(*LB_MM_ToolPar, MonitorActualToolLine(Context.Core.Config, toolNr));
        return;
    }
    if (toolNr < 0 || toolNr == LastShownTool) {
        return;
    }
    ShowCurrentTool(toolNr);
}

void MonitorWindow::ShowCurrentTool(int16_t toolNr) {
    const CurrentToolBox box = MonitorCurrentToolBox(Context.Core.Config, toolNr);
    if (!box.Programmed) {
        SelectToolLine(*LB_MM_ToolPar, -1);
    }
    L_ToolNr->setText(FromAnsi(box.ToolNr));
    L_TargetAngle->setText(FromAnsi(box.TargetAngle));
    L_Tolerance->setText(FromAnsi(box.Tolerance));
    L_Intensity->setText(FromAnsi(box.Intensity));
    L_Name->setText(FromAnsi(box.Name));
    LastShownTool = toolNr;
}

void MonitorWindow::BN_CloseClick() {
    // The identifier is read again with the next configuration.
    Context.Core.Config.NamespaceIdValid = false;
    accept();
}

} // namespace vg
