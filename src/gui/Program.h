#pragma once

#include "gui/ProgramContext.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace vg {

class MainWindow;

// Program start-up, run once the main window exists: reads the settings, attaches the main
// window to the status poll, opens the link (telling why when it does not open), places the
// main window and starts its poll timer.
void StartProgram(ProgramContext& context, MainWindow& main);

// Owns the windows that live as long as the program, created once in the program's order
// (the main window first, and the start-up right after it, before the others exist) and
// destroyed in reverse.
class WindowSet {
public:
    explicit WindowSet(ProgramContext& context);
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

private:
    template <typename Window, typename... Args> Window* Create(Args&&... args);

    std::vector<std::unique_ptr<QWidget>> Owned;
};

// The program: runs until the main window is closed. `whenShown`, if given, runs once the main
// window has been painted for the first time (the start-up benchmark measures with it).
int RunProgram(int argc, char** argv, const std::function<void(MainWindow&)>& whenShown = {});

} // namespace vg
