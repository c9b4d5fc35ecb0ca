#include "gui/Program.h"

#include "gui/AboutBox.h"
#include "gui/Artwork.h"
#include "gui/BusyWindow.h"
#include "gui/CommunicationDialog.h"
#include "gui/FileDialogs.h"
#include "gui/HelpViewer.h"
#include "gui/IdentifierWindow.h"
#include "gui/MainWindow.h"
#include "gui/ManualWindow.h"
#include "gui/MonitorWindow.h"
#include "gui/ProgramCommandLine.h"
#include "gui/ProgressWindow.h"
#include "gui/QtMessageService.h"
#include "gui/SettingsWindow.h"
#include "gui/SourceChooser.h"
#include "gui/ToolEditor.h"

#include <QApplication>
#include <QMessageBox>
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
    w.Main = Create<MainWindow>(context);
    w.Settings = Create<SettingsWindow>(context);
    w.Chooser = Create<SourceChooser>(context);
    w.Editor = Create<ToolEditor>(context);
    w.About = Create<AboutBox>();
    w.Manual = Create<ManualWindow>(context);
    w.Communication = Create<CommunicationDialog>(context);
    w.Identifier = Create<IdentifierWindow>(context.Messages, context.Help);
    w.Progress = Create<ProgressWindow>();
    w.Busy = Create<BusyWindow>();
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

} // namespace

int RunProgram(int argc, char** argv, const std::function<void(MainWindow&)>& whenShown) {
    if (const auto answered = AnswerInformationOptions(argc, argv)) {
        return *answered;
    }
    QApplication application(argc, argv);
    // No display name: it would be appended to every window's caption.
    SetProgramIdentity();
    QApplication::setWindowIcon(ProgramIcon());
    if (const auto refused = RefuseUnknownArguments(QApplication::arguments())) {
        return *refused;
    }
    try {
        Session core(RunningProgramFolders());
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

} // namespace vg
