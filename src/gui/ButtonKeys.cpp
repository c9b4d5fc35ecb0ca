#include "gui/ButtonKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace vg {

namespace {

class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!enter || button == nullptr || button->autoDefault() || button->isDefault()) {
            return false; // a default button answers Enter itself
        }
        button->click();
        return true;
    }
};

} // namespace

void PressFocusedButtonOnEnter(QWidget& window) {
    auto* filter = new EnterPressesButton(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        button->installEventFilter(filter);
    }
}

} // namespace vg
