#include "gui/QtMessageService.h"

#include "gui/CoreTexts.h"
#include "gui/TextCodec.h"
#include "gui/WindowStacking.h"

#include <QMessageBox>

namespace vg {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageResult ResultOf(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    default:
        return MessageResult::Ok;
    }
}

} // namespace

MessageResult QtMessageService::ShowMessage(const std::string& text, MessageKind kind,
                                            MessageButtons buttons) {
    // Over the window it was opened from, with the program's name as its caption.
    QMessageBox box(IconOf(kind), QStringLiteral("VG-Config"), CoreText(FromAnsi(text)),
                    ButtonsOf(buttons), WindowInFront());
    const int pressed = box.exec();
    // The close box of a question counts as its Cancel, or No when there is no Cancel.
    if (pressed == QMessageBox::Escape || pressed == 0) {
        return buttons == MessageButtons::YesNoCancel ? MessageResult::Cancel
               : buttons == MessageButtons::YesNo     ? MessageResult::No
                                                      : MessageResult::Ok;
    }
    return ResultOf(pressed);
}

} // namespace vg
