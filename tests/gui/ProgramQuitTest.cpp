// The whole program in this process, as vgconfig runs it, with its own QApplication.

#include "gui/MainWindow.h"
#include "gui/Program.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace vg {
namespace {

TEST(ProgramQuit, QuitEndsTheProgramWhileTheHelpIsOpen) {
    char name[] = "vgconfig";
    char* argv[] = {name, nullptr};
    int argc = 1;
    constexpr int Lingered = 2;
    const int result = RunProgram(argc, argv, [](MainWindow& main) {
        main.HelpAction->trigger();
        // A program that does not end on Quit is ended here, with a result the test refuses.
        QTimer::singleShot(10000, [] { QCoreApplication::exit(Lingered); });
        main.QuitAction->trigger();
    });
    EXPECT_EQ(result, 0);
}

} // namespace
} // namespace vg
