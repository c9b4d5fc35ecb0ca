#pragma once

#include <QStringList>
#include <optional>

namespace vg {

// vgconfig takes no arguments of its own but --help and --version, besides the toolkit's
// (-platform, -style, ...) that QApplication takes out of the list.

// Settles the command line before the window system is touched, so that --help, --version
// and a mistake are answered without a display: --help and --version print and end with 0; an
// unknown option or an argument is a usage error (2); a window system without a display to
// talk to (no DISPLAY and no WAYLAND_DISPLAY) is told on one line and ends with 1. The exit
// status when the program is to end here.
std::optional<int> SettleBeforeWindowSystem(int argc, char** argv);

// Refuses what is left once QApplication has taken its own options: exit status 2 then.
std::optional<int> RefuseUnknownArguments(const QStringList& arguments);

// Name, version and desktop entry of the running program (the desktop entry names the icon
// and the window's application id on Wayland).
void SetProgramIdentity();

} // namespace vg
