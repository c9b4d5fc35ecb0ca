#include "gui/IdentifierWindow.h"

#include "config/files/NamespaceFile.h"
#include "gui/HelpViewer.h"
#include "gui/TextCodec.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace vg {

IdentifierWindow::IdentifierWindow(MessageService& messages, HelpViewer& help, QWidget* parent)
    : QDialog(parent), Messages(messages) {
    setWindowTitle(tr("Please enter Namespace-Identifier  ..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("IdentifierFrame"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* label = new QLabel(tr("Please enter 8 digits:"), bevel);
    label->setObjectName(QStringLiteral("IdentifierCaption"));
    IdentifierField = new QLineEdit(bevel);
    // Eight required digits; an unfilled position shows as a blank.
    IdentifierField->setInputMask(QStringLiteral("99999999; "));
    label->setBuddy(IdentifierField);
    auto* inner = new QGridLayout(bevel);
    inner->addWidget(label, 0, 0);
    inner->addWidget(IdentifierField, 0, 1);
    OkButton = new QPushButton(tr("OK"), this);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, [this] {
        OkPressed = true;
        accept();
    });
    auto* layout = new QGridLayout(this);
    layout->addWidget(bevel, 0, 0);
    layout->addWidget(OkButton, 1, 0, Qt::AlignHCenter);
    FitToCaption();
    InstallContextHelp(this, help, HelpContext::Identifier);
}

void IdentifierWindow::FitToCaption() {
    QStyleOptionTitleBar bar;
    bar.initFrom(this);
    bar.text = windowTitle();
    bar.titleBarFlags = windowFlags();
    bar.subControls = QStyle::SC_All;
    constexpr int Probe = 1000;
    bar.rect = QRect(0, 0, Probe, style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, this));
    const QRect label =
        style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel, this);
    QFont titleFont = font();
    titleFont.setBold(true);
    // What the buttons and margins take, and room for the minimise and maximise buttons and
    // wider margins that a window manager may draw whatever the window asks for.
    const int around = Probe - label.width() + bar.rect.height() * 4;
    const int width = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + around;
    setFixedSize(sizeHint().expandedTo(QSize(std::max(320, width), 120)));
}

void IdentifierWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        FitToCaption();
    }
}

void IdentifierWindow::AskForIdentifier(NamespaceInfo& info, bool& namespaceIdValid) {
    Info = &info;
    IdValid = &namespaceIdValid;
    exec();
    Info = nullptr;
    IdValid = nullptr;
}

void IdentifierWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PrepareToShow();
}

void IdentifierWindow::PrepareToShow() {
    IdentifierField->clear();
    OkPressed = false;
    IdentifierField->setFocus();
    IdentifierField->setCursorPosition(0);
}

void IdentifierWindow::done(int result) {
    if (Info == nullptr || IdValid == nullptr) {
        QDialog::done(result);
        return;
    }
    // The close box after a rejected OK leaves without another check.
    if (result != Accepted && OkPressed) {
        *IdValid = false;
        QDialog::done(result);
        return;
    }
    if (AcceptCuIdEntry(ToAnsi(IdentifierField->text()), *Info, *IdValid)) {
        QDialog::done(result);
        return;
    }
    *IdValid = false;
    Messages.ShowMessage(std::string(CuIdEntryErrorText), MessageKind::Error, MessageButtons::Ok);
}

} // namespace vg
