#include "gui/UDlg_StatusBox.h"

#include "gui/TextCodec.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

namespace vg {

TDlg_StatusBox::TDlg_StatusBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("RunTime-Define!"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(540, 100);
    Label1 = new QLabel(this);
    Label1->setGeometry(16, 32, 497, 20);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    Label1->setFont(arial);
    Label1->setWordWrap(false);
}

void TDlg_StatusBox::ShowBusyBox(const std::string& caption, const std::string& message) {
    setWindowTitle(FromAnsi(caption));
    Label1->setText(FromAnsi(message));
    show();
    // The job that follows keeps the event loop busy: paint the box now.
    raise();
    repaint();
    QApplication::sendPostedEvents(this);
}

void TDlg_StatusBox::HideBusyBox() {
    hide();
}

void TDlg_StatusBox::closeEvent(QCloseEvent* event) {
    event->ignore(); // only HideBusyBox removes it
}

void TDlg_StatusBox::keyPressEvent(QKeyEvent* event) {
    event->ignore(); // Escape must not close it either
}

} // namespace vg
