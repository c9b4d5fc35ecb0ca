#pragma once

// NumberField: the single-line number field of every dialog. It filters keys by number style,
// reads and writes its Value through the text, clamps into its Range when the user leaves it,
// and reports out-of-range values through OutOfRange and, if asked, an alert colour.
//
// Decimal separator and currency come from the default QLocale, read each time they are used.
//
// Owners connect to Changed, Entered and Exited rather than to QLineEdit's own signals:
// Changed comes before the field re-evaluates OutOfRange (so a handler still sees the state of
// the previous text), Exited after the value was clamped and shown in its display form.
//
// In every style but NumberStyle::General, text from the clipboard (Ctrl+V, Shift+Insert, the
// context menu, the X11 selection; blanks around it trimmed) or from an input method goes in only
// if every one of its characters would be accepted when typed; otherwise nothing changes, so "3.14"
// pasted under a comma locale never turns into 314. Drops are refused. QLineEdit's non-virtual
// insert() and paste() slots are not filtered: owners write numbers with SetValue.

#include "gui/NumericText.h"

#include <QColor>
#include <QLineEdit>

namespace vg {

class NumberField;

inline constexpr QColor AlertRed{255, 0, 0};
// The palette's own base colour, so a field that is not alerting keeps the style's look.
inline constexpr QColor PaletteBase{};

// How an out-of-range value is coloured.
class OutOfRangeAlert {
public:
    explicit OutOfRangeAlert(NumberField* ownerControl = nullptr) : Owner(ownerControl) {}
    OutOfRangeAlert(const OutOfRangeAlert&) = delete;
    OutOfRangeAlert& operator=(const OutOfRangeAlert&) = delete;

    bool Active() const { return ActiveValue; }
    void SetActive(bool active);
    QColor Color() const { return ColorValue; }
    void SetColor(const QColor& color);

    // Copies the settings, never the owner.
    void Assign(const OutOfRangeAlert& source);

private:
    void UpdateParent();

    NumberField* Owner;
    bool ActiveValue = false;
    QColor ColorValue = AlertRed;
};

// The permitted range. MinValue is never above MaxValue: whichever bound moves, MinValue
// follows MaxValue down. Set the minimum before the maximum when both go up.
class NumberRange {
public:
    static constexpr int MinIndex = 1;
    static constexpr int MaxIndex = 2;

    explicit NumberRange(NumberField* ownerControl = nullptr) : Owner(ownerControl) {}
    NumberRange(const NumberRange&) = delete;
    NumberRange& operator=(const NumberRange&) = delete;

    bool Enforce() const { return EnforceValue; }
    void SetEnforce(bool enforce);
    QColor Color() const { return ColorValue; }
    void SetColor(const QColor& color);
    double MinValue() const { return MinBound; }
    double MaxValue() const { return MaxBound; }
    void SetMinValue(double value) { SetValue(MinIndex, value); }
    void SetMaxValue(double value) { SetValue(MaxIndex, value); }
    // Stores and re-evaluates the owner even when the bound does not change. A NaN bound
    // would make every comparison false and is ignored.
    void SetValue(int index, double value);

    void Assign(const NumberRange& source);

private:
    void UpdateParent();

    NumberField* Owner;
    bool EnforceValue = true;
    double MaxBound = 100.0;
    double MinBound = -100.0;
    QColor ColorValue = PaletteBase;
};

class NumberField : public QLineEdit {
    Q_OBJECT

public:
    explicit NumberField(QWidget* parent = nullptr);
    ~NumberField() override;

    NumberStyle Style() const { return StyleValue; }
    void SetStyle(NumberStyle style);
    DecimalWidth DecimalPlaces() const { return Places; }
    // Values above 9 are taken as 9.
    void SetDecimalPlaces(int places);
    // When false, the display form stays while the field is being edited.
    bool ActiveFocus() const { return ActiveFocusValue; }
    void SetActiveFocus(bool activeFocus) { ActiveFocusValue = activeFocus; }
    // Select the whole text when the field is entered.
    bool AutoSelect() const { return AutoSelectValue; }
    void SetAutoSelect(bool autoSelect) { AutoSelectValue = autoSelect; }

    // Recomputed on every change of text, style or range; an owner may also preset it.
    bool OutOfRange() const { return OutOfRangeValue; }
    void SetOutOfRange(bool outOfRange) { OutOfRangeValue = outOfRange; }

    OutOfRangeAlert& Alert() { return AlertData; }
    const OutOfRangeAlert& Alert() const { return AlertData; }
    NumberRange& Range() { return RangeData; }
    const NumberRange& Range() const { return RangeData; }

    // The number in the text; for NumberStyle::Percentage the fraction (text 12,5 reads 0.125).
    double Value() const { return GetValue(); }
    double GetValue() const;
    // Writes `value` into the text. For NumberStyle::Percentage it is the percentage figure: 12.5
    // shows 12,5% and reads back 0.125.
    void SetValue(double value);
    double ConvNumeric(const QString& text) const;

    // The background colour in use.
    QColor BackgroundColor() const;

    void DisplayControl();
    void DisplayActive();
    void DisplayInActive();
    void InvalidateDisplay();
    void InvalidateValue();
    void InvalidateVisuals();

signals:
    void Changed();
    void Entered();
    void Exited();

protected:
    virtual void Change();
    virtual void DoEnter();
    virtual void DoExit();
    // Sets `key` to the null character when the key is not let through, and to the decimal
    // separator when a '.' or ',' stands for it (SeparatorKey).
    virtual void KeyPress(QChar& key);

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    NumberSyntax Syntax() const;
    void ShowText(const QString& text);
    void ApplyBackground(const QColor& color);
    void Leave();
    // Inserts `text` at the caret the way a paste does, if the style lets all of it in.
    void InsertFiltered(const QString& text);
    void PasteFiltered();

    NumberStyle StyleValue = NumberStyle::General;
    bool ActiveFocusValue = true;
    DecimalWidth Places = 0;
    bool OutOfRangeValue = false;
    bool AutoSelectValue = true;
    // Between DoEnter and DoExit. A field stays entered while a popup (its context menu) or
    // another application has the keyboard, as the user has not moved on from it.
    bool EnteredState = false;
    // Declared in this order so Range goes before Alert.
    OutOfRangeAlert AlertData{this};
    NumberRange RangeData{this};
};

} // namespace vg
