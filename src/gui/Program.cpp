#include "gui/Program.h"

#include "gui/Artwork.h"
#include "gui/FileDialogs.h"
#include "gui/HelpViewer.h"
#include "gui/PrgFrm_Main.h"
#include "gui/ProgramCommandLine.h"
#include "gui/QtMessageService.h"
#include "gui/UDLG_Set1Tool.h"
#include "gui/UDlg_About.h"
#include "gui/UDlg_Konfig.h"
#include "gui/UDlg_Manual.h"
#include "gui/UDlg_Monitor.h"
#include "gui/UDlg_Program.h"
#include "gui/UDlg_Progress.h"
#include "gui/UDlg_RdCU_Id.h"
#include "gui/UDlg_SrcAuswahl.h"
#include "gui/UDlg_StatusBox.h"
#include "session/TerminationSignals.h"

#include <QApplication>
#include <QMessageBox>
#include <atomic>
#include <exception>

namespace vg {

template <typename Window, typename... Args> Window* WindowSet::Create(Args&&... args) {
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    Window* raw = window.get();
    Owned.push_back(std::move(window));
    return raw;
}

WindowSet::WindowSet(ProgramContext& context) {
    ProgramWindows& w = context.Windows;
    w.Frm_Main = Create<TFrm_Main>(context);
    w.Dlg_Program = Create<TDlg_Program>(context);
    w.Dlg_SrcAuswahl = Create<TDlg_SrcAuswahl>(context);
    w.DLG_Set1Tool = Create<TDLG_Set1Tool>(context);
    w.Dlg_About = Create<TDlg_About>();
    w.Dlg_Manual = Create<TDlg_Manual>(context);
    w.Dlg_Konfig = Create<TDlg_Konfig>(context);
    w.Dlg_RdCU_Id = Create<TDlg_RdCU_Id>(context.Messages, context.Help);
    w.Dlg_ProgressBar = Create<TDlg_ProgressBar>();
    w.Dlg_StatusBox = Create<TDlg_StatusBox>();
    w.Dlg_Monitor = Create<TDlg_Monitor>(context);
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
    FirstPaint(TFrm_Main& window, std::function<void(TFrm_Main&)> callback)
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
    TFrm_Main& Window;
    std::function<void(TFrm_Main&)> Callback;
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

int RunWindows(int argc, char** argv, const std::function<void(TFrm_Main&)>& whenShown,
               const TerminationSignals& termination, std::atomic<Session*>& active);

} // namespace

int RunProgram(int argc, char** argv, const std::function<void(TFrm_Main&)>& whenShown) {
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

int RunWindows(int argc, char** argv, const std::function<void(TFrm_Main&)>& whenShown,
               const TerminationSignals& termination, std::atomic<Session*>& active) {
    QApplication application(argc, argv);
    // No display name: it would be appended to every window's caption.
    SetProgramIdentity();
    QApplication::setWindowIcon(ProgramIcon());
    if (const auto refused = RefuseUnknownArguments(QApplication::arguments())) {
        return *refused;
    }
    try {
        Session core(RunningProgramFolders());
        core.Par.Interrupt = &termination.Flag();
        const ActiveSession shown(active, core);
        QtMessageService messages;
        QtFileDialogs files;
        HelpViewer help;
        ProgramContext context(core, messages, files, help);
        WindowSet windows(context);
        FirstPaint firstPaint(*context.Windows.Frm_Main, whenShown);
        context.Windows.Frm_Main->show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("VG-Config"), QString::fromUtf8(e.what()));
        return 1;
    }
}

} // namespace

} // namespace vg
