#include "gui/BusyWindow.h"

#include "gui/CoreTexts.h"
#include "gui/TextCodec.h"
#include "gui/WindowStacking.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

namespace vg {

BusyWindow::BusyWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("RunTime-Define!"));
    // A notice: it takes no input and leaves the focus with the window that started the job.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(540, 100);
    MessageLabel = new QLabel(this);
    MessageLabel->setGeometry(16, 32, 497, 20);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    MessageLabel->setFont(arial);
    MessageLabel->setWordWrap(false);
}

void BusyWindow::ShowBusyBox(const std::string& caption, const std::string& message) {
    setWindowTitle(CoreText(FromAnsi(caption)));
    MessageLabel->setText(CoreText(FromAnsi(message)));
    KeepAbove(*this, WindowInFront());
    show();
    // The job that follows keeps the event loop busy: paint the box now.
    raise();
    repaint();
    QApplication::sendPostedEvents(this);
}

void BusyWindow::HideBusyBox() {
    hide();
}

void BusyWindow::closeEvent(QCloseEvent* event) {
    event->ignore(); // only HideBusyBox removes it
}

void BusyWindow::keyPressEvent(QKeyEvent* event) {
    event->ignore(); // Escape must not close it either
}

} // namespace vg
