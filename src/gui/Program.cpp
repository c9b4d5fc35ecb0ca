#include "gui/Program.h"

#include "gui/Artwork.h"
#include "gui/CommunicationDialog.h"
#include "gui/FileDialogs.h"
#include "gui/HelpViewer.h"
#include "gui/Language.h"
#include "gui/MainWindow.h"
#include "gui/ManualWindow.h"
#include "gui/MonitorWindow.h"
#include "gui/ProgramCommandLine.h"
#include "gui/QtMessageService.h"
#include "gui/SettingsWindow.h"
#include "gui/StatusBarWidget.h"
#include "link/CommSettingsFile.h"
#include "session/TerminationSignals.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <exception>

namespace vg {

template <typename Window, typename... Args> Window* WindowSet::Create(Args&&... args) {
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    Window* raw = window.get();
    Owned.push_back(std::move(window));
    return raw;
}

void StartProgram(ProgramContext& context, MainWindow& main) {
    Session& core = context.Core;
    InitConfigState(core.Config);
    context.Help.SetHelpFile(HelpFilePath(core.Folders));
    ReadCommSettings(core.Settings, core.Folders.Settings);
    main.ShowUnitInTitle();
    context.LiveStatus.ShowOn(main.StatusBar);
    core.Status.AddListener(&main);
    core.Status.AddListener(&context.LiveStatus);
    ErrorCode error = 0;
    if (core.Connect(error)) {
        main.PollIntervalChanged(MainWindow::OnlineInterval);
    } else if (error != 0) {
        context.Messages.ShowMessage(LinkOpenFailureMessage(core, error), MessageKind::Error,
                                     MessageButtons::Ok);
    }
    // The receive thread is made in either mode; it only runs when the serial port opened.
    if (!core.Serial.ReceiverExists()) {
        core.Serial.StartReceiver();
    }
    main.SettleOnScreen();
    main.PollTimer->start();
}

WindowSet::WindowSet(ProgramContext& context) {
    ProgramWindows& w = context.Windows;
    w.Main = Create<MainWindow>(context);
    // Before the other windows exist: they find the settings read and the link opened.
    StartProgram(context, *w.Main);
    w.Settings = Create<SettingsWindow>(context);
    w.Manual = Create<ManualWindow>(context);
    w.Monitor = Create<MonitorWindow>(context);
}

WindowSet::~WindowSet() {
    while (!Owned.empty()) {
        Owned.pop_back();
    }
}

namespace {

// Calls back once, after the first paint of the watched window.
class FirstPaint : public QObject {
public:
    FirstPaint(MainWindow& window, std::function<void(MainWindow&)> callback)
        : Window(window), Callback(std::move(callback)) {
        Window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &Window && event->type() == QEvent::Paint && Callback) {
            auto callback = std::move(Callback);
            Callback = nullptr;
            // After the paint has been shown, not in the middle of it.
            QMetaObject::invokeMethod(
                &Window, [this, callback] { callback(Window); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    MainWindow& Window;
    std::function<void(MainWindow&)> Callback;
};

// Names the session the last resort of a termination signal gives the port back for, while
// it lives.
class ActiveSession {
public:
    ActiveSession(std::atomic<Session*>& active, Session& session) : Active(active) {
        Active = &session;
    }
    ~ActiveSession() { Active = nullptr; }
    ActiveSession(const ActiveSession&) = delete;
    ActiveSession& operator=(const ActiveSession&) = delete;

private:
    std::atomic<Session*>& Active;
};

int RunWindows(int argc, char** argv, const std::function<void(MainWindow&)>& whenShown,
               const TerminationSignals& termination, std::atomic<Session*>& active);

} // namespace

int RunProgram(int argc, char** argv, const std::function<void(MainWindow&)>& whenShown) {
    if (const auto answered = SettleBeforeWindowSystem(argc, argv)) {
        return *answered;
    }
    // SIGINT, SIGTERM and SIGHUP end the windows as a quit does, so the port is closed as at
    // every end; a transfer under way stops at once. Blocked before Qt starts its threads.
    std::atomic<Session*> active{nullptr};
    int endSignal = 0;
    const TerminationSignals termination(
        std::chrono::milliseconds(2000),
        [&active] {
            if (Session* session = active.load()) {
                session->Serial.ReleaseAfterSignal();
            }
        },
        [](int) {
            if (QCoreApplication* application = QCoreApplication::instance()) {
                QMetaObject::invokeMethod(application, &QCoreApplication::quit,
                                          Qt::QueuedConnection);
            }
        });
    const int status = RunWindows(argc, argv, whenShown, termination, active);
    endSignal = termination.Received();
    if (endSignal != 0) {
        TerminationSignals::EndAs(endSignal);
    }
    return status;
}

namespace {

int RunWindows(int argc, char** argv, const std::function<void(MainWindow&)>& whenShown,
               const TerminationSignals& termination, std::atomic<Session*>& active) {
    QApplication application(argc, argv);
    // No display name: it would be appended to every window's caption.
    SetProgramIdentity();
    QApplication::setWindowIcon(ProgramIcon());
    if (const auto refused = RefuseUnknownArguments(QApplication::arguments())) {
        return *refused;
    }
    InstallWindowLanguage(
        QString::fromStdString(LoadLanguage(OwnSettingsPath(UserEnvironment::OfThisProcess()))),
        TranslationsFolder(RunningProgramFolders()));
    try {
        Session core(RunningProgramFolders());
        core.Par.Interrupt = &termination.Flag();
        const ActiveSession shown(active, core);
        QtMessageService messages;
        QtFileDialogs files;
        HelpViewer help;
        ProgramContext context(core, messages, files, help);
        WindowSet windows(context);
        FirstPaint firstPaint(*context.Windows.Main, whenShown);
        context.Windows.Main->show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("VG-Config"), QString::fromUtf8(e.what()));
        return 1;
    }
}

} // namespace

} // namespace vg
