#include "gui/NumberField.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace vg {

// ---- OutOfRangeAlert ----

void OutOfRangeAlert::SetActive(bool active) {
    if (active == ActiveValue)
        return;
    ActiveValue = active;
    UpdateParent();
}

void OutOfRangeAlert::SetColor(const QColor& color) {
    if (color == ColorValue)
        return;
    ColorValue = color;
    UpdateParent();
}

void OutOfRangeAlert::Assign(const OutOfRangeAlert& source) {
    ActiveValue = source.ActiveValue;
    ColorValue = source.ColorValue;
    UpdateParent();
}

void OutOfRangeAlert::UpdateParent() {
    if (Owner != nullptr)
        Owner->InvalidateDisplay();
}

// ---- NumberRange ----

void NumberRange::SetEnforce(bool enforce) {
    if (enforce == EnforceValue)
        return;
    EnforceValue = enforce;
    UpdateParent();
}

void NumberRange::SetColor(const QColor& color) {
    if (color == ColorValue)
        return;
    ColorValue = color;
    UpdateParent();
}

void NumberRange::SetValue(int index, double value) {
    if (std::isnan(value))
        return;
    if (index == MinIndex)
        MinBound = value;
    else if (index == MaxIndex)
        MaxBound = value;
    else
        return;
    if (MinBound > MaxBound)
        MinBound = MaxBound;
    UpdateParent();
}

void NumberRange::Assign(const NumberRange& source) {
    ColorValue = source.ColorValue;
    EnforceValue = source.EnforceValue;
    MinBound = source.MinBound;
    MaxBound = source.MaxBound;
    UpdateParent();
}

void NumberRange::UpdateParent() {
    if (Owner != nullptr)
        Owner->InvalidateDisplay();
}

// ---- NumberField ----

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &NumberField::Change);
}

NumberField::~NumberField() {
    // QLineEdit's teardown must not reach Change once Alert and Range are gone.
    disconnect(this, &QLineEdit::textChanged, this, &NumberField::Change);
}

NumberSyntax NumberField::Syntax() const {
    return NumberSyntax::FromLocale(QLocale());
}

void NumberField::SetStyle(NumberStyle style) {
    StyleValue = style;
    DisplayControl();
}

void NumberField::SetDecimalPlaces(int places) {
    Places = static_cast<DecimalWidth>(std::clamp<int>(places, 0, MaxDecimalPlaces));
    DisplayControl();
}

double NumberField::GetValue() const {
    switch (StyleValue) {
    case NumberStyle::General:
        return 0.0;
    case NumberStyle::Percentage:
        return ConvNumeric(text()) / 100.0;
    default:
        return ConvNumeric(text());
    }
}

void NumberField::SetValue(double value) {
    if (StyleValue != NumberStyle::General)
        ShowText(FormatGeneral(value, Syntax().Decimal));
    DisplayControl();
}

double NumberField::ConvNumeric(const QString& text) const {
    return ConvNumericText(text, StyleValue, Syntax());
}

QColor NumberField::BackgroundColor() const {
    return palette().color(QPalette::Active, QPalette::Base);
}

void NumberField::DisplayControl() {
    InvalidateDisplay();
    if (EnteredState && ActiveFocusValue)
        DisplayActive();
    else
        DisplayInActive();
}

void NumberField::DisplayActive() {
    const double value = GetValue();
    if (ActiveFocusValue && EnteredState) {
        const QString editing = EditingText(StyleValue, value, Places, Syntax().Decimal);
        if (!editing.isNull())
            ShowText(editing);
    } else {
        DisplayInActive();
    }
    if (AutoSelectValue && EnteredState)
        selectAll();
}

void NumberField::DisplayInActive() {
    const QString display = DisplayText(StyleValue, GetValue(), Places, QLocale());
    if (!display.isNull())
        ShowText(display);
}

void NumberField::InvalidateDisplay() {
    InvalidateValue();
    InvalidateVisuals();
}

void NumberField::InvalidateValue() {
    if (!AlertData.Active() || StyleValue == NumberStyle::General)
        return;
    const double value = GetValue();
    OutOfRangeValue = value < RangeData.MinValue() || value > RangeData.MaxValue();
}

void NumberField::InvalidateVisuals() {
    const double value = GetValue();
    OutOfRangeValue = value < RangeData.MinValue() || value > RangeData.MaxValue();
    const bool alert = OutOfRangeValue && AlertData.Active() && StyleValue != NumberStyle::General;
    ApplyBackground(alert ? AlertData.Color() : RangeData.Color());
}

void NumberField::ShowText(const QString& newText) {
    // setText also drops the selection and the undo history: only when there is news.
    if (text() != newText)
        setText(newText);
}

void NumberField::ApplyBackground(const QColor& color) {
    const QPalette standard = QApplication::palette(this);
    QPalette pal = palette();
    bool changed = false;
    // A disabled field keeps the style's disabled look.
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        const QColor wanted = color.isValid() ? color : standard.color(group, QPalette::Base);
        if (pal.color(group, QPalette::Base) != wanted) {
            pal.setColor(group, QPalette::Base, wanted);
            changed = true;
        }
    }
    if (changed)
        setPalette(pal);
}

void NumberField::Change() {
    emit Changed();
    InvalidateDisplay();
}

void NumberField::DoEnter() {
    DisplayActive();
    emit Entered();
}

void NumberField::DoExit() {
    const double value = GetValue();
    if (RangeData.Enforce() && StyleValue != NumberStyle::General) {
        // SetValue takes a percentage figure, while the bounds of a percentage field are
        // fractions like its Value.
        const double scale = StyleValue == NumberStyle::Percentage ? 100.0 : 1.0;
        if (value < RangeData.MinValue())
            SetValue(RangeData.MinValue() * scale);
        else if (value > RangeData.MaxValue())
            SetValue(RangeData.MaxValue() * scale);
    }
    InvalidateVisuals();
    DisplayInActive();
    emit Exited();
}

void NumberField::KeyPress(QChar& key) {
    key = SeparatorKey(StyleValue, Syntax(), text(), key);
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? selectionLength() : 0;
    if (!KeyAccepted(StyleValue, Places, Syntax(), text(), start, length, key))
        key = QChar();
}

void NumberField::Leave() {
    EnteredState = false;
    DoExit();
}

void NumberField::InsertFiltered(const QString& inserted) {
    if (inserted.isEmpty() || isReadOnly())
        return;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? selectionLength() : 0;
    if (InsertionAccepted(StyleValue, Places, Syntax(), text(), start, length, inserted))
        insert(inserted);
}

void NumberField::PasteFiltered() {
    InsertFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard).trimmed());
}

void NumberField::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (StyleValue != NumberStyle::General && event->matches(QKeySequence::Paste)) {
        PasteFiltered();
        event->accept();
        return;
    }

    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->key() == Qt::Key_Backspace && !(mods & Qt::ControlModifier)) {
        QChar key = BackspaceChar;
        KeyPress(key);
        if (key.isNull())
            event->accept();
        else
            QLineEdit::keyPressEvent(event);
        return;
    }

    // Everything QLineEdit would insert goes through the filter; control characters (Return,
    // Escape, Ctrl shortcuts) insert nothing there and must still reach it and the dialog.
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && typed.front().category() != QChar::Other_Control &&
                         mods != Qt::ControlModifier &&
                         mods != (Qt::ControlModifier | Qt::ShiftModifier);
    if (!inserts) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (typed.size() != 1) {
        InsertFiltered(typed);
        event->accept();
        return;
    }
    QChar key = typed.front();
    // The keypad's decimal key types the locale's separator, whatever the keyboard layout
    // puts on it.
    if (StyleValue != NumberStyle::General && (mods & Qt::KeypadModifier) &&
        (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma))
        key = Syntax().Decimal;
    KeyPress(key);
    if (key.isNull()) {
        event->accept();
    } else if (key == typed.front()) {
        QLineEdit::keyPressEvent(event);
    } else {
        insert(QString(key));
        event->accept();
    }
}

void NumberField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!EnteredState) {
        EnteredState = true;
        // QLineEdit selects everything itself when tabbed into
        if (!AutoSelectValue)
            deselect();
        DoEnter();
    }
}

void NumberField::focusOutEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (EnteredState && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        Leave();
    QLineEdit::focusOutEvent(event);
}

bool NumberField::event(QEvent* event) {
    // The focus moved on while the window was in the background, when no focus-out reaches
    // the field. The window's focus child is settled before it gets the focus back.
    if (event->type() == QEvent::WindowActivate && EnteredState && window()->focusWidget() != this)
        Leave();
    return QLineEdit::event(event);
}

void NumberField::hideEvent(QHideEvent* event) {
    if (!event->spontaneous() && EnteredState)
        Leave();
    QLineEdit::hideEvent(event);
}

void NumberField::contextMenuEvent(QContextMenuEvent* event) {
    if (StyleValue == NumberStyle::General) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    QMenu* menu = createStandardContextMenu();
    // The paste entry is the one wired to QLineEdit::paste; it has no name to look it up by,
    // and Qt has wired it by signature or by member pointer depending on the version.
    for (QAction* action : menu->actions()) {
        if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
            disconnect(action, &QAction::triggered, this, &QLineEdit::paste))
            connect(action, &QAction::triggered, this, &NumberField::PasteFiltered);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void NumberField::mouseReleaseEvent(QMouseEvent* event) {
    if (StyleValue != NumberStyle::General && event->button() == Qt::MiddleButton &&
        !isReadOnly() && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        InsertFiltered(QGuiApplication::clipboard()->text(QClipboard::Selection).trimmed());
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void NumberField::dragEnterEvent(QDragEnterEvent* event) {
    if (StyleValue != NumberStyle::General) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void NumberField::dropEvent(QDropEvent* event) {
    if (StyleValue != NumberStyle::General) {
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

void NumberField::inputMethodEvent(QInputMethodEvent* event) {
    if (StyleValue == NumberStyle::General || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // No composing inside a number: only committed text counts, filtered like a paste.
    InsertFiltered(event->commitString());
    event->accept();
}

} // namespace vg
