// The windows under a real X server with a window manager: the titles it shows, which window
// it stacks above which, and where the keyboard goes. The program runs as vgconfig does, in a
// child process; the windows this process opens itself are on the same server.

#include "gui/BusyWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/QtMessageService.h"
#include "gui/SettingsWindow.h"
#include "support/SettingsWorld.h"
#include "x11/XServer.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace vg {
namespace {

using test::XServer;

// The X server and this process's QApplication on it, for the whole test program.
class XEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::string why;
        if (!Server.Start(why)) {
            GTEST_FAIL() << why;
        }
        qputenv("QT_QPA_PLATFORM", "xcb");
        App = std::make_unique<QApplication>(Argc, Argv);
    }
    void TearDown() override {
        App.reset();
        Server.Stop();
    }

private:
    XServer Server;
    int Argc = 1;
    char Name[12] = "x11-test";
    char* Argv[2] = {Name, nullptr};
    std::unique_ptr<QApplication> App;
};

[[maybe_unused]] ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new XEnvironment);

// Windows of process `pid` the window manager shows with exactly `title`; 0 when none.
unsigned long WindowTitled(pid_t pid, const QString& title) {
    for (unsigned long window : XServer::Stacking()) {
        if (XServer::Owner(window) == pid && XServer::Title(window) == title) {
            return window;
        }
    }
    return 0;
}

bool Managed(unsigned long window) {
    const auto all = XServer::Stacking();
    return std::find(all.begin(), all.end(), window) != all.end();
}

// True when the window manager stacks `upper` above `lower`.
bool Above(unsigned long upper, unsigned long lower) {
    const auto all = XServer::Stacking();
    const auto u = std::find(all.begin(), all.end(), upper);
    const auto l = std::find(all.begin(), all.end(), lower);
    return u != all.end() && l != all.end() && u > l;
}

// vgconfig in a program directory of its own, on the test's X server.
class RunningProgram {
public:
    RunningProgram() {
        for (const char* file : {"vgconfig", "ROVOZUZ_E.html"}) {
            std::filesystem::copy(std::filesystem::path(VG_BIN_DIR) / file, Dir / file);
        }
        Process.setProgram(QString::fromStdString((Dir / "vgconfig").string()));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        Process.setProcessEnvironment(environment);
        Process.start();
        Process.waitForStarted();
    }
    ~RunningProgram() {
        if (Process.state() != QProcess::NotRunning) {
            Process.kill();
            Process.waitForFinished();
        }
    }
    pid_t Pid() const { return static_cast<pid_t>(Process.processId()); }

    // Waits for a window of the program titled exactly `title`, and for it to have the focus.
    unsigned long WaitForWindow(const QString& title) {
        unsigned long window = 0;
        const bool shown = test::WaitUntil([&] {
            window = WindowTitled(Pid(), title);
            return window != 0 && XServer::Focused() == window;
        });
        EXPECT_TRUE(shown) << "no focused window \"" << title.toStdString()
                           << "\"; the program shows " << XServer::Describe(Pid()).toStdString();
        return shown ? window : 0;
    }

    test::TempDir Dir;
    QProcess Process;
};

// The titles are the windows' captions as they are, a help window opened from a modal window
// takes the keyboard and goes with Escape, and Quit ends the program with the help still open.
TEST(X11Program, TitlesHelpOverModalWindowsAndQuit) {
    RunningProgram program;
    // Run on the built-in unit, the main window says so after its caption.
    const unsigned long main = program.WaitForWindow("VG-Config [simulated unit]");
    ASSERT_NE(main, 0u);

    XServer::Keys({"alt+o", "c"});
    const unsigned long konfig = program.WaitForWindow("Communication");
    ASSERT_NE(konfig, 0u);
    XServer::Keys({"F1"});
    const unsigned long help = program.WaitForWindow("VG-Config Help");
    ASSERT_NE(help, 0u);
    EXPECT_TRUE(Above(help, konfig));
    XServer::Keys({"Escape"});
    EXPECT_TRUE(test::WaitUntil([&] { return !Managed(help); })) << "Escape left the help open";
    EXPECT_TRUE(Managed(konfig));
    ASSERT_TRUE(test::WaitUntil([&] { return XServer::Focused() == konfig; }));
    XServer::Keys({"Escape"});
    ASSERT_TRUE(test::WaitUntil([&] { return !Managed(konfig); }));
    // Escape backs out: nothing written.
    EXPECT_FALSE(std::filesystem::exists(program.Dir / "Konfig.Cfg"));

    ASSERT_TRUE(test::WaitUntil([&] { return XServer::Focused() == main; }));
    XServer::Keys({"alt+f", "o"});
    EXPECT_NE(program.WaitForWindow("Load Data from ..."), 0u);
    XServer::Keys({"Escape"});
    ASSERT_TRUE(test::WaitUntil([&] { return XServer::Focused() == main; }));
    XServer::Keys({"alt+o", "Right", "Down", "Return"});
    EXPECT_NE(program.WaitForWindow("Info"), 0u);
    XServer::Keys({"Escape"});

    // Monitor mode uploads from the built-in unit first, then takes the main window's place.
    ASSERT_TRUE(test::WaitUntil([&] { return XServer::Focused() == main; }));
    XServer::Keys({"alt+v", "Down", "Return"});
    EXPECT_NE(program.WaitForWindow("VG-Config / Monitor Mode"), 0u);
    XServer::Keys({"Escape"});

    ASSERT_TRUE(test::WaitUntil([&] { return XServer::Focused() == main; }));
    XServer::Keys({"F1"});
    ASSERT_NE(program.WaitForWindow("VG-Config Help"), 0u);
    XServer::Activate(main);
    XServer::Keys({"alt+f", "q"});
    EXPECT_TRUE(program.Process.waitForFinished(5000)) << "the program lingers after Quit";
}

// The help belongs to the window it was asked from, whichever that is: pressing the help's
// frame leaves the keyboard in the help (the next Escape closes the help, not the window below
// it), and working in the window below does not bury the help.
TEST(X11Help, StaysAboveItsWindowAndKeepsTheKeyboardWhenItsFrameIsPressed) {
    RunningProgram program;
    const auto helpOver = [&program](unsigned long owner, const std::string& what) {
        XServer::Keys({"F1"});
        const unsigned long help = program.WaitForWindow("VG-Config Help");
        ASSERT_NE(help, 0u) << what;
        // Into the lower right corner, clear of the window's title bar.
        test::RunTool("xdotool", {"windowmove", QString::number(help), "620", "480"});
        test::WaitUntil([] { return false; }, 200);
        XServer::PressHandle(help);
        EXPECT_TRUE(test::WaitUntil([&] { return XServer::Active() == help; }))
            << what << ": pressing the help's frame made another window active";
        EXPECT_TRUE(Above(help, owner)) << what;
        XServer::PressTitleBar(owner);
        ASSERT_TRUE(test::WaitUntil([&] { return XServer::Active() == owner; })) << what;
        EXPECT_TRUE(Above(help, owner)) << what << ": the help went behind its window";
        XServer::PressHandle(help);
        EXPECT_TRUE(test::WaitUntil([&] { return XServer::Focused() == help; }))
            << what << ": the help's frame pressed, the keyboard went to "
            << XServer::Title(XServer::Focused()).toStdString();
        XServer::Keys({"Escape"});
        EXPECT_TRUE(test::WaitUntil([&] { return !Managed(help); }))
            << what << ": Escape left the help open";
        EXPECT_TRUE(Managed(owner)) << what << ": Escape closed the window below the help";
        ASSERT_TRUE(test::WaitUntil([&] { return XServer::Focused() == owner; })) << what;
    };

    const unsigned long main = program.WaitForWindow("VG-Config [simulated unit]");
    ASSERT_NE(main, 0u);
    helpOver(main, "main window");

    XServer::Keys({"alt+f", "o"});
    ASSERT_NE(program.WaitForWindow("Load Data from ..."), 0u);
    XServer::Keys({"alt+v"});
    const unsigned long settings = program.WaitForWindow("VG-Config / Settings / Vigilo");
    ASSERT_NE(settings, 0u);
    helpOver(settings, "settings window");

    XServer::Keys({"alt+o", "alt+n"});
    const unsigned long editor = program.WaitForWindow("Setting New Tool");
    ASSERT_NE(editor, 0u);
    helpOver(editor, "tool editor");
    XServer::Keys({"Escape"}); // Cancel: nothing to ask about
    EXPECT_TRUE(test::WaitUntil([&] { return !Managed(editor); }));
    EXPECT_TRUE(test::WaitUntil([&] { return XServer::Focused() == settings; }));
}

// Progress windows, busy boxes and message boxes opened while the settings window is the
// modal window in front appear above it.
TEST(X11Stacking, NoticesAndMessagesComeAboveTheModalSettingsWindow) {
    test::SettingsWorld world;
    world.Start();
    world.SetUnitSettings();
    world.SetTool(1, 9000, 200, 3);
    world.Loaded(ConfigSource::File, world.DataFile("VGL_12345678.CD"));
    SettingsWindow& settings = world.Settings();
    QtMessageService messages;
    const auto notice = [](QWidget* window, QWidget* owner) {
        return test::WaitUntil([&] { return Above(window->winId(), owner->winId()); }, 5000);
    };
    test::WhenModalOpens([&](QWidget*) {
        EXPECT_TRUE(test::WaitUntil([&] { return Managed(settings.winId()); }));
        ProgressWindow progress;
        progress.ShowProgress("Saving Data to VG ... please wait ...");
        EXPECT_TRUE(notice(&progress, &settings)) << "progress window below the settings";
        progress.HideProgress();

        BusyWindow busy;
        busy.ShowBusyBox("Status: Busy ....", "Printing Data!  Please wait ....!");
        EXPECT_TRUE(notice(&busy, &settings)) << "busy box below the settings";
        busy.HideBusyBox();

        test::WhenModalOpens([&](QWidget* box) {
            EXPECT_TRUE(notice(box, &settings)) << "message box below the settings";
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        messages.ShowMessage("Save Data to VGL successfull!", MessageKind::Information,
                             MessageButtons::Ok);
        settings.reject();
    });
    settings.exec();
}

// Installed as a package installs it (the program in bin, the help files and translations in
// share/vg-config) and started under a German locale, the program speaks German: its window
// titles, its menus' access keys and its help.
TEST(X11Program, AnInstalledProgramSpeaksGermanUnderAGermanLocale) {
    test::TempDir dir;
    const std::filesystem::path bin = std::filesystem::path(VG_BIN_DIR);
    const std::filesystem::path shared = dir / "share/vg-config";
    std::filesystem::create_directories(dir / "bin");
    std::filesystem::create_directories(shared / "translations");
    std::filesystem::copy(bin / "vgconfig", dir / "bin/vgconfig");
    for (const char* file : {"ROVOZUZ_E.html", "ROVOZUZ_D.html"}) {
        std::filesystem::copy(bin / file, shared / file);
    }
    std::filesystem::copy(bin / "translations/vgconfig_de.qm",
                          shared / "translations/vgconfig_de.qm");
    QProcess process;
    process.setProgram(QString::fromStdString((dir / "bin/vgconfig").string()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_MESSAGES"));
    environment.remove(QStringLiteral("LANGUAGE"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString((dir / "config").string()));
    environment.insert(QStringLiteral("XDG_DATA_HOME"),
                       QString::fromStdString((dir / "data").string()));
    process.setProcessEnvironment(environment);
    process.start();
    ASSERT_TRUE(process.waitForStarted());
    const auto pid = static_cast<pid_t>(process.processId());
    const auto waitFor = [pid](const QString& title) {
        unsigned long window = 0;
        EXPECT_TRUE(test::WaitUntil([&] {
            window = WindowTitled(pid, title);
            return window != 0 && XServer::Focused() == window;
        })) << "no window \""
            << title.toStdString() << "\"; the program shows "
            << XServer::Describe(pid).toStdString();
        return window;
    };
    EXPECT_NE(waitFor(QStringLiteral("VG-Config [simuliertes Steuergerät]")), 0u);
    XServer::Keys({"alt+d", "f"}); // Datei > Öffnen
    EXPECT_NE(waitFor(QStringLiteral("Daten laden aus ...")), 0u);
    XServer::Keys({"Escape"});
    EXPECT_TRUE(test::WaitUntil(
        [pid] { return WindowTitled(pid, QStringLiteral("Daten laden aus ...")) == 0; }));
    XServer::Keys({"F1"});
    EXPECT_NE(waitFor(QStringLiteral("VG-Config-Hilfe")), 0u);
    process.kill();
    process.waitForFinished();
}

} // namespace
} // namespace vg
