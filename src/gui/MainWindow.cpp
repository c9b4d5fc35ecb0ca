#include "gui/MainWindow.h"

#include "gui/AboutBox.h"
#include "gui/Artwork.h"
#include "gui/CommunicationDialog.h"
#include "gui/HelpViewer.h"
#include "gui/Language.h"
#include "gui/ManualWindow.h"
#include "gui/MonitorWindow.h"
#include "gui/SettingsWindow.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "gui/SupportActions.h"
#include "gui/TransferActions.h"
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
    PollTimer = new QTimer(this);
    PollTimer->setInterval(DesignedInterval);
    connect(PollTimer, &QTimer::timeout, this, &MainWindow::PollTimerTick);
}

MainWindow::~MainWindow() {
    ShutDown();
}

// Every menu and item has an access key; the captions read as they always did.
void MainWindow::BuildMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    OpenAction = file->addAction(tr("&Open"), this, &MainWindow::OpenTriggered);
    QuitAction = file->addAction(tr("&Quit"), this, &QWidget::close);
    QMenu* unit = menuBar()->addMenu(tr("&Vigilo"));
    ManualModeAction = unit->addAction(tr("&Manual Mode"), this, &MainWindow::ManualModeTriggered);
    MonitorModeAction =
        unit->addAction(tr("M&onitor Mode"), this, &MainWindow::MonitorModeTriggered);
    MonitorModeAction->setEnabled(false); // until the unit has answered
    CompareWithFileAction =
        unit->addAction(tr("&Compare with File..."), this, &MainWindow::CompareWithFileTriggered);
    CompareWithFileAction->setEnabled(false); // as Monitor Mode: it reads the unit
    QMenu* options = menuBar()->addMenu(tr("&Options"));
    CommunicationAction =
        options->addAction(tr("&Communication"), this, &MainWindow::CommunicationTriggered);
    VerifyAfterSaveAction = options->addAction(tr("&Verify after saving to the unit"));
    VerifyAfterSaveAction->setCheckable(true);
    VerifyAfterSaveAction->setChecked(LoadVerifyAfterSave(Context.OwnSettingsFile));
    connect(VerifyAfterSaveAction, &QAction::triggered, this, &MainWindow::VerifyAfterSaveToggled);
    TraceLineTrafficAction = options->addAction(tr("&Trace Line Traffic..."));
    TraceLineTrafficAction->setCheckable(true);
    connect(TraceLineTrafficAction, &QAction::triggered, this,
            &MainWindow::TraceLineTrafficToggled);
    AddLanguageMenu(*options, Context);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
    HelpAction = help->addAction(tr("&Help"), this, &MainWindow::HelpTriggered);
    AboutAction = help->addAction(tr("&About"), this, &MainWindow::AboutTriggered);
}

void MainWindow::BuildClientArea() {
    auto* client = new QWidget(this);
    PictureFrame = new QFrame(client);
    PictureFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Picture = new QLabel(PictureFrame);
    Picture->setPixmap(MainPicture());
    Picture->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(PictureFrame))->addWidget(Picture);
    StatusBar = new StatusBarWidget(Context.LiveStatus.Lamps(), client);
    StatusBar->MarkSimulatedUnit(Context.Core.Settings);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PictureFrame, 1);
    layout->addWidget(StatusBar);
    setCentralWidget(client);
    // The client area is fixed; the window is not resizable.
    client->setFixedSize(778, 534);
    InstallContextHelp(this, Context.Help, HelpContext::MainWindow);
}

void MainWindow::SettleOnScreen() {
    adjustSize();
    setFixedSize(size());
    PlaceOnScreen();
    ScaleStatusBar(Context, *StatusBar, width());
}

void MainWindow::ShowUnitInTitle() {
    // Nobody should take the demonstration unit for the machine's.
    setWindowTitle(Context.Core.Settings.UsesSimulatedUnit() ? tr("VG-Config [simulated unit]")
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
    ShutDown();
    QMainWindow::closeEvent(event);
}

void MainWindow::ShutDown() {
    if (Destroyed) {
        return;
    }
    Destroyed = true;
    // The help goes with the program rather than outlive its main window.
    Context.Help.close();
    PollTimer->stop();
    Context.Core.Status.RemoveListener(&Context.LiveStatus);
    Context.Core.Status.RemoveListener(this);
    ErrorCode ignored = 0;
    Context.Core.Disconnect(ignored);
    Context.Core.Config.ToolLines.clear();
}

void MainWindow::OpenWorkingWindow(QDialog* window, WindowInFront front) {
    window->move(pos());
    hide();
    window->setWindowState(windowState());
    Context.FrontWindow = front;
    window->exec();
    setWindowState(window->windowState());
    Context.LiveStatus.ShowOn(StatusBar);
    show();
    Context.FrontWindow = WindowInFront::Main;
}

void MainWindow::PollIntervalChanged(int milliseconds) {
    PollTimer->setInterval(milliseconds);
}

void MainWindow::UnitReachableChanged(bool reachable) {
    // Monitor mode needs an answering unit just as the source chooser's button does.
    Answers = reachable;
    emit UnitAnswersChanged(reachable);
    MonitorModeAction->setEnabled(reachable);
    CompareWithFileAction->setEnabled(reachable);
}

void MainWindow::MeasuredAngleTaken(int32_t hundredths) {
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

void MainWindow::PollTimerTick() {
    // A transfer paints its progress window through the event loop; the poll must not
    // touch the link it owns meanwhile.
    if (Context.Core.Config.TransferBusy) {
        return;
    }
    Context.Core.Status.Tick();
}

void MainWindow::OpenTriggered() {
    if (SelectAndLoad(Context)) {
        OpenWorkingWindow(Context.Windows.Settings, WindowInFront::Settings);
    }
}

void MainWindow::ManualModeTriggered() {
    Context.Windows.Manual->OpenFromMenu();
}

void MainWindow::MonitorModeTriggered() {
    Context.Windows.Monitor->OpenFromMenu();
}

void MainWindow::CommunicationTriggered() {
    CommunicationDialog dialog(Context);
    CommunicationPlace.PlaceAgain(dialog);
    dialog.exec();
    CommunicationPlace.Keep(dialog);
    ShowUnitInTitle();
}

void MainWindow::CompareWithFileTriggered() {
    CompareWithFile(Context, this);
}

bool MainWindow::VerifyAfterSave() const {
    return VerifyAfterSaveAction->isChecked();
}

void MainWindow::VerifyAfterSaveToggled(bool checked) {
    WriteFailure failure;
    if (!StoreVerifyAfterSave(Context.OwnSettingsFile, checked, failure)) {
        // It holds for this run all the same.
        Context.Messages.ShowMessage("The setting cannot be kept:\n" + failure.Line(),
                                     MessageKind::Warning, MessageButtons::Ok);
    }
}

void MainWindow::TraceLineTrafficToggled(bool checked) {
    if (!checked) {
        StopLineTraceWithWindows(Context);
    } else if (!StartLineTraceWithWindows(Context, this)) {
        TraceLineTrafficAction->setChecked(false);
    }
}

void MainWindow::HelpTriggered() {
    Context.Help.SetHelpFile(HelpFilePath(Context.Core.Folders));
    Context.Help.ShowContents();
}

void MainWindow::AboutTriggered() {
    AboutBox about;
    AboutPlace.PlaceAgain(about);
    about.exec();
    AboutPlace.Keep(about);
}

} // namespace vg
