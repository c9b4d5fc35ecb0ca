#pragma once

// The text side of the numeric edit field: reading a number out of whatever the field holds,
// writing numbers in the field's forms, and deciding whether a typed key is let through. No
// widget and no default locale in here, so all of it can be tested with plain strings.

#include <QChar>
#include <QLocale>
#include <QString>
#include <cstdint>

namespace vg {

// The number style of a NumberField.
enum class NumberStyle : std::uint8_t {
    General = 0,    // plain text: no filtering, no reformatting, Value reads 0
    Integer = 1,    // whole number
    Float = 2,      // fixed point with DecimalPlaces decimals
    Currency = 3,   // money amount, shown in the locale's currency format when not focused
    Percentage = 4, // a fraction, shown (and typed) as its percentage figure
};

// Decimals of a field, 0 to 9.
using DecimalWidth = std::uint8_t;
constexpr DecimalWidth MaxDecimalPlaces = 9;

constexpr QChar BackspaceChar{u'\b'};

// The locale settings the numeric texts depend on.
struct NumberSyntax {
    QChar Decimal{u'.'};
    // The currency symbol; its first character may be typed into a currency field.
    QString Currency;
    // The locale's minus sign when it is not the ASCII '-' (a few locales use U+2212 and put
    // it into their currency format); empty otherwise.
    QString Minus;

    static NumberSyntax FromLocale(const QLocale& locale);
};

// The number in `text` read the forgiving way: digits and the first decimal separator are kept
// (for NumberStyle::Integer nothing from the first separator on), everything else is skipped, and
// the number is negative when the text holds a '-' anywhere or both parentheses. Text that leaves
// nothing readable is 0. For NumberStyle::General the result is always 0.
double ConvNumericText(const QString& text, NumberStyle style, const NumberSyntax& syntax);

// `value` positionally (never with an exponent), at most 15 significant digits, no trailing
// zeros: 2.5 -> "2,5", 3 -> "3", 0.00001 -> "0,00001". NaN and infinities are written as 0.
QString FormatGeneral(double value, QChar decimal);

// `value` rounded to 15 significant digits and then to `places` decimals (half away from
// zero), with exactly `places` digits after the separator and no thousands separators.
// NaN and infinities are written as 0; a result of zero carries no sign.
QString FormatFixed(double value, int places, QChar decimal);

// `value` truncated toward zero, as a whole number.
QString FormatTruncated(double value);

// The editing form (focused field) of `value`. Null for NumberStyle::General, which keeps its text.
// NumberStyle::Percentage takes the fraction and writes its percentage figure.
QString EditingText(NumberStyle style, double value, int places, QChar decimal);

// The display form (field not focused) of `value`, with the locale's currency format for
// NumberStyle::Currency. Null for NumberStyle::General.
QString DisplayText(NumberStyle style, double value, int places, const QLocale& locale);

// Whether typing `key` into a field showing `text` is let through. The caret is at
// `selStart` when `selLength` is 0, otherwise the characters [selStart, selStart+selLength)
// are selected. Backspace is always accepted; NumberStyle::General accepts everything.
bool KeyAccepted(NumberStyle style, int places, const NumberSyntax& syntax, const QString& text,
                 int selStart, int selLength, QChar key);

// The character a typed key stands for. In the styles with decimals a '.' or a ',' that the
// style does not take otherwise stands for the locale's decimal separator while `text` holds
// none: whoever types the other one means the separator, and dropping it would turn 47.25
// into 4725. Every other key stands for itself.
QChar SeparatorKey(NumberStyle style, const NumberSyntax& syntax, const QString& text, QChar key);

// Whether `inserted` may replace the selection (or go in at the caret) as if its characters
// were typed one after the other, every one of them accepted by KeyAccepted.
bool InsertionAccepted(NumberStyle style, int places, const NumberSyntax& syntax,
                       const QString& text, int selStart, int selLength, const QString& inserted);

} // namespace vg
