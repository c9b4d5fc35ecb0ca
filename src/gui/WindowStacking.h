#pragma once

class QWidget;

namespace vg {

// The window that a message box or a notice opened now belongs to: the modal window in
// front, else the active window; none when the program shows no window yet.
QWidget* WindowInFront();

// Has the window manager keep `window` above `owner` (its transient parent), or above no
// particular window for nullptr. Qt treats a window kept above a modal window as part of it,
// so the modal window does not block it.
void KeepAbove(QWidget& window, QWidget* owner);

} // namespace vg
