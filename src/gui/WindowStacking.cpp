#include "gui/WindowStacking.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace vg {

QWidget* WindowInFront() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    QWidget* active = QApplication::activeWindow();
    return active != nullptr && active->isVisible() ? active : nullptr;
}

void KeepAbove(QWidget& window, QWidget* owner) {
    QWidget* top = owner != nullptr ? owner->window() : nullptr;
    if (top == &window) {
        top = nullptr;
    }
    window.winId(); // the native window the transient parent belongs to
    QWindow* handle = window.windowHandle();
    QWindow* parent = nullptr;
    if (top != nullptr) {
        top->winId();
        parent = top->windowHandle();
    }
    if (handle == nullptr || handle->transientParent() == parent) {
        return;
    }
    // The window manager learns the parent when the window is mapped.
    const bool shown = window.isVisible();
    if (shown) {
        window.hide();
    }
    handle->setTransientParent(parent);
    if (shown) {
        window.show();
    }
}

} // namespace vg
