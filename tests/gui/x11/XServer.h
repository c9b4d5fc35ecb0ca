#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vg::test {

// A virtual X server on a free display with a window manager on it, for what only a real
// window system shows: titles as the window manager gets them, stacking and focus. DISPLAY
// points at it from Start on.
class XServer {
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // False, with the reason in `why`, when the server or the window manager did not come up.
    bool Start(std::string& why);
    void Stop();

    // The managed windows, bottom to top, as the window manager stacks them.
    static std::vector<unsigned long> Stacking();
    // The title the window manager shows (_NET_WM_NAME).
    static QString Title(unsigned long window);
    // The process that owns a window (_NET_WM_PID), 0 when unknown.
    static pid_t Owner(unsigned long window);
    // The window that has the keyboard focus.
    static unsigned long Focused();
    // Types keys (xdotool names, for example "alt+o", "F1", "Escape") into the focused window.
    static void Keys(const QStringList& keys);
    static void Activate(unsigned long window);
    // The window the window manager calls active (_NET_ACTIVE_WINDOW); 0 when none.
    static unsigned long Active();
    // Press the first mouse button on the frame the window manager draws around `window` and
    // let it go: on the middle of the handle below it (what a user grabs to resize it), or of
    // its title bar.
    static void PressHandle(unsigned long window);
    static void PressTitleBar(unsigned long window);

    // The managed windows of process `pid` with their titles, for failure messages.
    static QString Describe(pid_t pid);

private:
    pid_t Server = -1;
    pid_t Manager = -1;
};

// Waits, handling this process's events, until `done` holds or `limitMs` have passed.
bool WaitUntil(const std::function<bool()>& done, int limitMs = 5000);

// Runs a tool of the X utilities; its standard output.
QString RunTool(const QString& program, const QStringList& args);

} // namespace vg::test
