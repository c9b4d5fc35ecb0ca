#pragma once

#include <QStringList>
#include <optional>

namespace vg {

// vgconfig takes no arguments of its own but --help and --version, besides the toolkit's
// (-platform, -style, ...) that QApplication takes out of the list.

// Answers --help and --version before the window system is touched, so that both work
// without a display. The exit status when the program is to end here.
std::optional<int> AnswerInformationOptions(int argc, char** argv);

// Refuses what is left once QApplication has taken its own options: exit status 2 then.
std::optional<int> RefuseUnknownArguments(const QStringList& arguments);

// Name, version and desktop entry of the running program (the desktop entry names the icon
// and the window's application id on Wayland).
void SetProgramIdentity();

} // namespace vg
