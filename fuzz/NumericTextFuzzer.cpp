// The numeric field's text side: whatever is typed, pasted or left in the field, in the
// number styles of real locales.
//
// Input: style, decimal places, locale, selection start and length (one byte each), then
// the field's text in UTF-8, then after a 0xFF byte the text being typed or pasted.

#include "FuzzSupport.h"
#include "gui/NumericText.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace vg;

namespace {

// Decimal separators '.', ',' and U+066B, native digits, a minus that is not '-', currency
// symbols before and after the number, with and without a point in them.
constexpr std::array<const char*, 10> LocaleNames = {"C",     "en_US", "de_DE", "fr_CH", "ar_EG",
                                                     "fa_IR", "sv_SE", "hi_IN", "de_CH", "ta_LK"};

// Typing the characters one by one, each judged on the text the previous ones left.
bool TypedOneByOne(NumberStyle style, int places, const NumberSyntax& syntax, QString text,
                   int selStart, int selLength, const QString& inserted) {
    selStart = std::clamp<int>(selStart, 0, static_cast<int>(text.size()));
    selLength = std::clamp<int>(selLength, 0, static_cast<int>(text.size()) - selStart);
    for (const QChar c : inserted) {
        if (!KeyAccepted(style, places, syntax, text, selStart, selLength, c)) {
            return false;
        }
        text.remove(selStart, selLength);
        text.insert(selStart, c);
        ++selStart;
        selLength = 0;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t HeaderSize = 5;
    if (size < HeaderSize) {
        return 0;
    }
    const auto style = static_cast<NumberStyle>(data[0] % 5);
    const int places = static_cast<int8_t>(data[1]); // also outside 0..9
    const QLocale locale(QString::fromLatin1(LocaleNames[data[2] % LocaleNames.size()]));
    const int selStart = static_cast<int8_t>(data[3]);
    const int selLength = static_cast<int8_t>(data[4]);
    const auto* rest = reinterpret_cast<const char*>(data + HeaderSize);
    const size_t restSize = size - HeaderSize;
    const auto* split = static_cast<const char*>(std::memchr(rest, 0xFF, restSize));
    const size_t textSize = split != nullptr ? static_cast<size_t>(split - rest) : restSize;
    const QString text = QString::fromUtf8(rest, static_cast<qsizetype>(textSize));
    const QString inserted =
        split != nullptr
            ? QString::fromUtf8(split + 1, static_cast<qsizetype>(restSize - textSize - 1))
            : QString();

    const NumberSyntax syntax = NumberSyntax::FromLocale(locale);
    const double value = ConvNumericText(text, style, syntax);
    FUZZ_CHECK(std::isfinite(value));
    if (style == NumberStyle::General) {
        FUZZ_CHECK(value == 0.0);
    }

    // Once a number is in one of the field's forms, reading it back and writing it again
    // gives the same text: entering and leaving the field never changes what it shows.
    const QString general = FormatGeneral(value, syntax.Decimal);
    FUZZ_CHECK(FormatGeneral(ConvNumericText(general, NumberStyle::Float, syntax),
                             syntax.Decimal) == general);
    const QString fixed = FormatFixed(value, places, syntax.Decimal);
    FUZZ_CHECK(FormatFixed(ConvNumericText(fixed, NumberStyle::Float, syntax), places,
                           syntax.Decimal) == fixed);
    const QString truncated = FormatTruncated(value);
    FUZZ_CHECK(FormatTruncated(ConvNumericText(truncated, NumberStyle::Integer, syntax)) ==
               truncated);

    const QString editing = EditingText(style, value, places, syntax.Decimal);
    const QString display = DisplayText(style, value, places, locale);
    FUZZ_CHECK(editing.isNull() == (style == NumberStyle::General));
    FUZZ_CHECK(display.isNull() == (style == NumberStyle::General));
    if (style != NumberStyle::General) {
        // The field's value is its text read back, a percentage figure taken as a fraction.
        const double scale = style == NumberStyle::Percentage ? 100.0 : 1.0;
        const double fromEditing = ConvNumericText(editing, style, syntax) / scale;
        FUZZ_CHECK(EditingText(style, fromEditing, places, syntax.Decimal) == editing);
        const double fromDisplay = ConvNumericText(display, style, syntax) / scale;
        FUZZ_CHECK(DisplayText(style, fromDisplay, places, locale) == display);
        // Entering the field shows the amount it showed before.
        FUZZ_CHECK(ConvNumericText(display, style, syntax) ==
                   ConvNumericText(editing, style, syntax));
    }

    // A paste is let through exactly when typing its characters would be.
    if (!inserted.contains(BackspaceChar)) {
        FUZZ_CHECK(InsertionAccepted(style, places, syntax, text, selStart, selLength, inserted) ==
                   TypedOneByOne(style, places, syntax, text, selStart, selLength, inserted));
    }
    return 0;
}
