#pragma once

#include "gui/ProgramContext.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace vg {

class MainWindow;

// Owns the eleven windows, created once in the program's order (the main window first, so
// its start-up runs before the others exist) and destroyed in reverse.
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
