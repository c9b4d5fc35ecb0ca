#include "gui/MainWindow.h"

#include "gui/Artwork.h"
#include "gui/HelpViewer.h"
#include "gui/StatusBarWidget.h"
#include "gui/SupportActions.h"
#include "gui/TransferActions.h"
#include "gui/AboutBox.h"
#include "gui/CommunicationDialog.h"
#include "gui/ManualWindow.h"
#include "gui/MonitorWindow.h"
#include "gui/SettingsWindow.h"
#include "gui/SourceChooser.h"
#include "link/CommSettingsFile.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace vg {

void ScaleStatusBar(ProgramContext& context, StatusBarWidget& bar, int windowWidth) {
    context.StatusBarScale = windowWidth * 0.0015625;
    bar.Scale(context.StatusBarScale);
}

MainWindow::MainWindow(ProgramContext& context) : Context(context) {
    setWindowTitle(QStringLiteral("VG-Config"));
    setWindowIcon(ProgramIcon());
    BuildMenu();
    BuildClientArea();
    Timer1 = new QTimer(this);
    Timer1->setInterval(DesignedInterval);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    FormCreate();
}

MainWindow::~MainWindow() {
    FormDestroy();
}

// Every menu and item has an access key; the captions read as they always did.
void MainWindow::BuildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    Open1 = file->addAction(QStringLiteral("&Open"), this, &MainWindow::Open1Click);
    Quit1 = file->addAction(QStringLiteral("&Quit"), this, &QWidget::close);
    QMenu* unit = menuBar()->addMenu(QStringLiteral("&Vigilo"));
    ManualMode1 =
        unit->addAction(QStringLiteral("&Manual Mode"), this, &MainWindow::ManualMode1Click);
    MonitorMode1 =
        unit->addAction(QStringLiteral("M&onitor Mode"), this, &MainWindow::MonitorMode1Click);
    MonitorMode1->setEnabled(false); // until the unit has answered
    CompareWithFile1 = unit->addAction(QStringLiteral("&Compare with File..."), this,
                                       &MainWindow::CompareWithFile1Click);
    CompareWithFile1->setEnabled(false); // as Monitor Mode: it reads the unit
    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    Communication1 =
        options->addAction(QStringLiteral("&Communication"), this, &MainWindow::Communication1Click);
    VerifyAfterSave1 = options->addAction(QStringLiteral("&Verify after saving to the unit"));
    VerifyAfterSave1->setCheckable(true);
    Context.VerifyAfterSave = LoadVerifyAfterSave(Context.OwnSettingsFile);
    VerifyAfterSave1->setChecked(Context.VerifyAfterSave);
    connect(VerifyAfterSave1, &QAction::triggered, this, &MainWindow::VerifyAfterSave1Click);
    TraceLineTraffic1 = options->addAction(QStringLiteral("&Trace Line Traffic..."));
    TraceLineTraffic1->setCheckable(true);
    connect(TraceLineTraffic1, &QAction::triggered, this, &MainWindow::TraceLineTraffic1Click);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
    Help1 = help->addAction(QStringLiteral("&Help"), this, &MainWindow::Help1Click);
    About1 = help->addAction(QStringLiteral("&About"), this, &MainWindow::About1Click);
}

void MainWindow::BuildClientArea() {
    auto* client = new QWidget(this);
    Bevel1 = new QFrame(client);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Image1 = new QLabel(Bevel1);
    Image1->setPixmap(MainPicture());
    Image1->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(Bevel1))->addWidget(Image1);
    StatusBar1 = new StatusBarWidget(Context.Core.Display, Context.Core.Poll, client);
    StatusBar1->MarkSimulatedUnit(Context.Core.Settings);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Bevel1, 1);
    layout->addWidget(StatusBar1);
    setCentralWidget(client);
    // The client area is fixed; the window is not resizable.
    client->setFixedSize(778, 534);
    InstallContextHelp(this, Context.Help, HelpContext::MainWindow);
}

void MainWindow::FormCreate() {
    // The other windows do not exist yet: touch none of them here.
    InitConfigState(Context.Core.Config);
    Context.Help.SetHelpFile(HelpFilePath(Context.Core.Folders));
    Cfg_Read(Context.Core.Settings, Context.Core.Folders.Settings);
    ShowUnitInTitle();
    Context.Core.Poll.StatusBarTarget = StatusBar1;
    Context.Core.Status.SetHost(this);
    OpenLinkAtStart();
    // Created in either mode; it only runs when the serial port opened.
    Context.Core.Serial.StartReceiver();
    adjustSize();
    setFixedSize(size());
    PlaceOnScreen();
    ScaleStatusBar(Context, *StatusBar1, width());
    Timer1->start();
}

void MainWindow::OpenLinkAtStart() {
    Session& core = Context.Core;
    core.SelectFieldbusMaster();
    ErrorCode error = 0;
    core.Poll.LinkOpened = core.Link.Link_Open(core.Settings.ComPortNr, error);
    if (core.Poll.LinkOpened) {
        Timer1->setInterval(OnlineInterval);
    } else if (error != 0) {
        Context.Messages.ShowMessage(LinkOpenFailureMessage(core, error), MessageKind::Error,
                                     MessageButtons::Ok);
    }
}

void MainWindow::ShowUnitInTitle() {
    // Nobody should take the demonstration unit for the machine's.
    setWindowTitle(Context.Core.Settings.UsesSimulatedUnit()
                       ? QStringLiteral("VG-Config [simulated unit]")
                       : QStringLiteral("VG-Config"));
}

QPoint MainWindowPosition(const QRect& screen, const QSize& frame) {
    // A small screen gets the window in its corner rather than centred off the edges.
    if (screen.height() < 600) {
        return screen.topLeft();
    }
    return screen.center() - QPoint(frame.width() / 2, frame.height() / 2);
}

void MainWindow::PlaceOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(MainWindowPosition(screen->geometry(), frameGeometry().size()));
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    FormDestroy();
    QMainWindow::closeEvent(event);
}

void MainWindow::FormDestroy() {
    if (Destroyed) {
        return;
    }
    Destroyed = true;
    // The help goes with the program rather than outlive its main window.
    Context.Help.close();
    Timer1->stop();
    Context.Core.Status.SetHost(nullptr);
    Session& core = Context.Core;
    core.Serial.StopReceiver();
    ErrorCode ignored = 0;
    core.Link.Link_Close(core.Settings.ComPortNr, ignored);
    core.Config.ToolLines.clear();
}

void MainWindow::OpenWorkingWindow(QDialog* window, int front) {
    window->move(pos());
    hide();
    window->setWindowState(windowState());
    Context.FrontWindow = front;
    window->exec();
    setWindowState(window->windowState());
    Context.Core.Poll.StatusBarTarget = StatusBar1;
    show();
    Context.FrontWindow = FrontWindowNr::Main;
}

void MainWindow::SetTimerInterval(int milliseconds) {
    Timer1->setInterval(milliseconds);
}

void MainWindow::EnableVigiloButton(bool enabled) {
    if (Context.Windows.Chooser != nullptr) {
        Context.Windows.Chooser->BN_Vigilo->setEnabled(enabled);
    }
}

void MainWindow::EnableMonitorMode(bool enabled) {
    MonitorMode1->setEnabled(enabled);
    CompareWithFile1->setEnabled(enabled);
}

StatusBarView* MainWindow::MainStatusBar() {
    return StatusBar1;
}

MonitorView* MainWindow::Monitor() {
    return Context.Windows.Monitor;
}

void MainWindow::MeasuredAngleShown(int32_t hundredths) {
    Context.Windows.Settings->MeasuredAngleShown(hundredths);
}

void MainWindow::ToolAngleTaught(int toolNr) {
    Context.Windows.Settings->ToolAngleTaught(toolNr);
}

void MainWindow::EditorAngleTaught(double degrees) {
    Context.Windows.Settings->EditorAngleTaught(degrees);
}

void MainWindow::LinkOpenFailed(ErrorCode error) {
    // Told after the tick: the box is modal, and the poll keeps ticking while it is open.
    const std::string text = LinkOpenFailureMessage(Context.Core, error);
    QTimer::singleShot(0, this, [this, text] {
        Context.Messages.ShowMessage(text, MessageKind::Error, MessageButtons::Ok);
    });
}

void MainWindow::Timer1Timer() {
    // A transfer paints its progress window through the event loop; the poll must not
    // touch the link it owns meanwhile.
    if (Context.Core.Config.TransferBusy) {
        return;
    }
    Context.Core.Status.Status_Tick();
}

void MainWindow::Open1Click() {
    if (SelectAndLoad(Context)) {
        OpenWorkingWindow(Context.Windows.Settings, FrontWindowNr::Settings);
    }
}

void MainWindow::ManualMode1Click() {
    Context.Windows.Manual->OpenFromMenu();
}

void MainWindow::MonitorMode1Click() {
    Context.Windows.Monitor->OpenFromMenu();
}

void MainWindow::Communication1Click() {
    Context.Windows.Communication->exec();
    ShowUnitInTitle();
}

void MainWindow::CompareWithFile1Click() {
    CompareWithFile(Context, this);
}

void MainWindow::VerifyAfterSave1Click(bool checked) {
    Context.VerifyAfterSave = checked;
    WriteFailure failure;
    if (!StoreVerifyAfterSave(Context.OwnSettingsFile, checked, failure)) {
        // It holds for this run all the same.
        Context.Messages.ShowMessage("The setting cannot be kept:\n" + failure.Line(),
                                     MessageKind::Warning, MessageButtons::Ok);
    }
}

void MainWindow::TraceLineTraffic1Click(bool checked) {
    if (!checked) {
        StopLineTraceWithWindows(Context);
    } else if (!StartLineTraceWithWindows(Context, this)) {
        TraceLineTraffic1->setChecked(false);
    }
}

void MainWindow::Help1Click() {
    Context.Help.SetHelpFile(HelpFilePath(Context.Core.Folders));
    Context.Help.ShowContents();
}

void MainWindow::About1Click() {
    Context.Windows.About->exec();
}

} // namespace vg
