#include "x11/XServer.h"

#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPoint>
#include <QProcess>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vg::test {

namespace {

// The server and the window manager talk to nobody on the test's terminal.
pid_t SpawnQuiet(const std::vector<std::string>& args) {
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t pid = SpawnProgram(args, null, null, null);
    close(null);
    return pid;
}

void End(pid_t& pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}

// Reads the display number the server writes once it accepts connections.
bool ReadDisplay(int fd, std::string& display) {
    QElapsedTimer clock;
    clock.start();
    std::string text;
    while (clock.elapsed() < 10000) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) {
            continue;
        }
        char buffer[32];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
        if (text.find('\n') != std::string::npos) {
            display = ':';
            display.append(text, 0, text.find('\n'));
            return true;
        }
    }
    return false;
}

} // namespace

QString RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    // Read as UTF-8 below: under the C locale xprop would write a title's other letters as
    // octal escapes.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(program, args);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool WaitUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

XServer::~XServer() {
    Stop();
}

bool XServer::Start(std::string& why) {
    int fds[2];
    if (pipe(fds) != 0) {
        why = std::strerror(errno);
        return false;
    }
    Server = SpawnQuiet({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                         "1280x1024x24", "-nolisten", "tcp", "-noreset"});
    close(fds[1]);
    std::string display;
    const bool up = ReadDisplay(fds[0], display);
    close(fds[0]);
    if (!up) {
        why = "Xvfb did not report a display";
        Stop();
        return false;
    }
    setenv("DISPLAY", display.c_str(), 1);
    Manager = SpawnQuiet({"openbox", "--sm-disable"});
    const bool managed = WaitUntil([] {
        return RunTool("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
    });
    if (!managed) {
        why = "openbox did not take over " + display;
        Stop();
        return false;
    }
    return true;
}

void XServer::Stop() {
    End(Manager);
    End(Server);
}

std::vector<unsigned long> XServer::Stacking() {
    std::vector<unsigned long> windows;
    const QString text = RunTool("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
    static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto match = id.globalMatch(text); match.hasNext();) {
        windows.push_back(match.next().captured().toULong(nullptr, 16));
    }
    return windows;
}

QString XServer::Title(unsigned long window) {
    const QString text =
        RunTool("xprop", {"-id", QString::number(window), "-notype", "_NET_WM_NAME"});
    const qsizetype first = text.indexOf('"');
    const qsizetype last = text.lastIndexOf('"');
    return first >= 0 && last > first ? text.mid(first + 1, last - first - 1) : QString();
}

pid_t XServer::Owner(unsigned long window) {
    const QString text =
        RunTool("xprop", {"-id", QString::number(window), "-notype", "_NET_WM_PID"});
    static const QRegularExpression number(QStringLiteral("= (\\d+)"));
    const auto match = number.match(text);
    return match.hasMatch() ? static_cast<pid_t>(match.captured(1).toInt()) : 0;
}

unsigned long XServer::Focused() {
    return RunTool("xdotool", {"getwindowfocus"}).trimmed().toULong();
}

void XServer::Keys(const QStringList& keys) {
    RunTool("xdotool", QStringList{"key", "--delay", "40"} + keys);
}

void XServer::Activate(unsigned long window) {
    RunTool("xdotool", {"windowactivate", "--sync", QString::number(window)});
}

unsigned long XServer::Active() {
    const QString text = RunTool("xprop", {"-root", "_NET_ACTIVE_WINDOW"});
    static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    const auto match = id.match(text);
    return match.hasMatch() ? match.captured().toULong(nullptr, 16) : 0;
}

namespace {

// The middle of the handle below `window` or of its title bar, in screen coordinates.
QPoint FramePoint(unsigned long window, bool titleBar) {
    // The client's place on the screen, and how far the frame reaches beyond it.
    const QString info = RunTool("xwininfo", {"-id", QString::number(window)});
    const auto number = [&info](const char* label) {
        const QRegularExpression line(QString::fromLatin1(label) + QStringLiteral(":\\s*(-?\\d+)"));
        return line.match(info).captured(1).toInt();
    };
    const QString extents =
        RunTool("xprop", {"-id", QString::number(window), "_NET_FRAME_EXTENTS"});
    static const QRegularExpression four(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const auto extent = four.match(extents);
    const int x = number("Absolute upper-left X") + number("Width") / 2;
    const int top = number("Absolute upper-left Y");
    return titleBar ? QPoint(x, top - extent.captured(3).toInt() / 2)
                    : QPoint(x, top + number("Height") + extent.captured(4).toInt() / 2);
}

void PressAt(const QPoint& point) {
    // Not --sync: it waits for a motion that never comes when the pointer is there already.
    RunTool("xdotool", {"mousemove", QString::number(point.x()), QString::number(point.y())});
    WaitUntil([] { return false; }, 100);
    RunTool("xdotool", {"mousedown", "1"});
    WaitUntil([] { return false; }, 150);
    RunTool("xdotool", {"mouseup", "1"});
}

} // namespace

void XServer::PressHandle(unsigned long window) {
    PressAt(FramePoint(window, false));
}

void XServer::PressTitleBar(unsigned long window) {
    PressAt(FramePoint(window, true));
}

QString XServer::Describe(pid_t pid) {
    QStringList seen;
    for (unsigned long window : Stacking()) {
        if (pid == 0 || Owner(window) == pid) {
            seen << QStringLiteral("\"%1\"").arg(Title(window));
        }
    }
    return seen.join(QStringLiteral(", "));
}

} // namespace vg::test
