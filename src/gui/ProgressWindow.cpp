#include "gui/ProgressWindow.h"

#include "gui/CoreTexts.h"
#include "gui/TextCodec.h"
#include "gui/WindowStacking.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace vg {

namespace {
constexpr int DesignWidth = 360;
} // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Saving Data to VG"));
    // A notice: it takes no input and leaves the focus with the window that started the job.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar);
    setFixedSize(DesignWidth, 64);
}

void ProgressWindow::ShowProgress(const std::string& caption) {
    setWindowTitle(CoreText(FromAnsi(caption)));
    // The caption shows whole beside the icon the window manager puts before it (the notice
    // has no buttons): a longer one (German runs about a third longer) widens the window.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics title(bold);
    setFixedSize(std::max(DesignWidth, title.horizontalAdvance(windowTitle()) + 2 * title.height()),
                 height());
    ProgressBar->setValue(0);
    // Above and centred on the window that started the transfer.
    QWidget* owner = WindowInFront();
    KeepAbove(*this, owner);
    if (owner != nullptr && owner != this) {
        move(owner->geometry().center() - rect().center());
    }
    show();
    raise();
    PaintNow();
}

void ProgressWindow::SetProgress(int percent) {
    if (ProgressBar->value() != percent) {
        ProgressBar->setValue(percent);
        PaintNow();
    }
}

void ProgressWindow::HideProgress() {
    hide();
}

void ProgressWindow::PaintNow() {
    ProgressBar->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

} // namespace vg
