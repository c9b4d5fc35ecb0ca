#include "gui/NumericText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace vg {

namespace {

// A nonzero finite magnitude as 15 significant decimal digits: Digits[0].Digits[1..14] x
// 10^Exponent. std::to_chars because printf follows LC_NUMERIC, which QApplication sets from
// the environment.
struct Significant {
    std::string Digits;
    int Exponent = 0;
};

Significant ToSignificant(double magnitude) {
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    const std::string s(buf, res.ptr);
    const auto e = s.find('e');
    Significant out;
    out.Digits = s.substr(0, 1) + s.substr(2, e - 2);
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), out.Exponent);
    return out;
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool InAcceptedSet(NumberStyle style, const NumberSyntax& syntax, QChar key) {
    if (IsAsciiDigit(key) || key == u'-' || key == u'(' || key == u')')
        return true;
    if (style == NumberStyle::Integer)
        return false;
    if (key == syntax.Decimal)
        return true;
    if (style == NumberStyle::Currency)
        return !syntax.Currency.isEmpty() && key == syntax.Currency.front();
    if (style == NumberStyle::Percentage)
        return key == u'%';
    return false;
}

int ClampPlaces(int places) {
    return std::clamp<int>(places, 0, MaxDecimalPlaces);
}

} // namespace

NumberSyntax NumberSyntax::FromLocale(const QLocale& locale) {
    NumberSyntax syntax;
    const QString decimal = locale.decimalPoint();
    if (!decimal.isEmpty())
        syntax.Decimal = decimal.front();
    syntax.Currency = locale.currencySymbol(QLocale::CurrencySymbol);
    const QString minus = locale.negativeSign();
    if (minus != QStringLiteral("-"))
        syntax.Minus = minus;
    return syntax;
}

double ConvNumericText(const QString& text, NumberStyle style, const NumberSyntax& syntax) {
    if (style == NumberStyle::General)
        return 0.0;

    QString s = text;
    // A symbol like "Rs." would otherwise lend its point to the number.
    if (style == NumberStyle::Currency && !syntax.Currency.isEmpty())
        s.remove(syntax.Currency);

    const bool negative = (s.contains(u'(') && s.contains(u')')) || s.contains(u'-') ||
                          (!syntax.Minus.isEmpty() && s.contains(syntax.Minus));

    std::string r;
    if (negative)
        r += '-';
    int separatorBudget = style == NumberStyle::Integer ? 0 : 1;
    for (const QChar c : s) {
        if (c == syntax.Decimal) {
            if (--separatorBudget < 0)
                break;
            r += '.';
        } else if (c.isDigit()) {
            // the currency form of some locales uses their own digits
            const int digit = c.digitValue();
            if (digit >= 0 && digit <= 9)
                r += static_cast<char>('0' + digit);
        }
    }

    double value = 0.0;
    const auto res = std::from_chars(r.data(), r.data() + r.size(), value);
    // nothing readable ("", "-", a lone separator) or beyond the range of a double
    if (res.ec != std::errc() || res.ptr != r.data() + r.size())
        return 0.0;
    return value;
}

QString FormatGeneral(double value, QChar decimal) {
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral("0");

    Significant sig = ToSignificant(std::fabs(value));
    const auto last = sig.Digits.find_last_not_of('0');
    sig.Digits.erase(last + 1);
    const int n = static_cast<int>(sig.Digits.size());

    std::string intPart;
    std::string fracPart;
    if (sig.Exponent >= 0) {
        const int intDigits = sig.Exponent + 1;
        intPart = sig.Digits.substr(0, std::min(n, intDigits));
        intPart.append(std::max(0, intDigits - n), '0');
        if (n > intDigits)
            fracPart = sig.Digits.substr(intDigits);
    } else {
        intPart = "0";
        fracPart = std::string(-sig.Exponent - 1, '0') + sig.Digits;
    }

    QString out;
    if (value < 0)
        out += u'-';
    out += QString::fromLatin1(intPart);
    if (!fracPart.empty()) {
        out += decimal;
        out += QString::fromLatin1(fracPart);
    }
    return out;
}

QString FormatFixed(double value, int places, QChar decimal) {
    places = ClampPlaces(places);

    // The result as a count of units of 10^-places, in decimal digits.
    std::string units;
    if (std::isfinite(value) && value != 0.0) {
        const Significant sig = ToSignificant(std::fabs(value));
        const int keep = sig.Exponent + 1 + places;
        if (keep >= static_cast<int>(sig.Digits.size())) {
            units = sig.Digits + std::string(keep - sig.Digits.size(), '0');
        } else if (keep >= 0) {
            units = sig.Digits.substr(0, keep);
            if (sig.Digits[keep] >= '5') {
                int i = static_cast<int>(units.size()) - 1;
                for (; i >= 0 && units[i] == '9'; --i)
                    units[i] = '0';
                if (i >= 0)
                    ++units[i];
                else
                    units.insert(units.begin(), '1');
            }
        }
    }
    const auto firstNonZero = units.find_first_not_of('0');
    const bool isZero = firstNonZero == std::string::npos;
    units = isZero ? std::string() : units.substr(firstNonZero);
    if (static_cast<int>(units.size()) < places + 1)
        units.insert(0, places + 1 - units.size(), '0');

    QString out;
    if (value < 0 && !isZero)
        out += u'-';
    const auto intDigits = units.size() - places;
    out += QString::fromLatin1(units.substr(0, intDigits));
    if (places > 0) {
        out += decimal;
        out += QString::fromLatin1(units.substr(intDigits));
    }
    return out;
}

QString FormatTruncated(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    return FormatFixed(std::trunc(value), 0, u'.');
}

QString EditingText(NumberStyle style, double value, int places, QChar decimal) {
    switch (style) {
    case NumberStyle::General:
        return {};
    case NumberStyle::Integer:
        return FormatTruncated(value);
    case NumberStyle::Percentage:
        return FormatFixed(value * 100.0, places, decimal);
    case NumberStyle::Float:
    case NumberStyle::Currency:
        return FormatFixed(value, places, decimal);
    }
    return {};
}

QString DisplayText(NumberStyle style, double value, int places, const QLocale& locale) {
    const QChar decimal = NumberSyntax::FromLocale(locale).Decimal;
    switch (style) {
    case NumberStyle::General:
        return {};
    case NumberStyle::Integer:
        return FormatTruncated(value);
    case NumberStyle::Float:
        return FormatFixed(value, places, decimal);
    case NumberStyle::Currency: {
        // Rounded as the editing form rounds, so that entering the field never changes the
        // amount (2.675 is no "2,67 €" that becomes "2,68"), and zero shows no minus sign.
        const double shown =
            ConvNumericText(FormatFixed(value, places, u'.'), NumberStyle::Float, {});
        return locale.toCurrencyString(shown, locale.currencySymbol(QLocale::CurrencySymbol),
                                       ClampPlaces(places));
    }
    case NumberStyle::Percentage:
        return FormatFixed(value * 100.0, places, decimal) + u'%';
    }
    return {};
}

QChar SeparatorKey(NumberStyle style, const NumberSyntax& syntax, const QString& text, QChar key) {
    if (style == NumberStyle::General || style == NumberStyle::Integer ||
        (key != u'.' && key != u',') || InAcceptedSet(style, syntax, key) ||
        text.contains(syntax.Decimal))
        return key;
    return syntax.Decimal;
}

bool KeyAccepted(NumberStyle style, int places, const NumberSyntax& syntax, const QString& text,
                 int selStart, int selLength, QChar key) {
    if (style == NumberStyle::General || key == BackspaceChar)
        return true;
    if (!InAcceptedSet(style, syntax, key))
        return false;
    if (!text.contains(syntax.Decimal))
        return true;
    // The text has its separator already: no second one, and no more than `places` decimals.
    if (key == syntax.Decimal)
        return false;
    selStart = std::clamp<int>(selStart, 0, text.size());
    selLength = std::clamp<int>(selLength, 0, text.size() - selStart);
    QString result = text;
    result.remove(selStart, selLength);
    result.insert(selStart, key);
    const auto at = result.indexOf(syntax.Decimal);
    return at < 0 || result.size() - at - 1 <= ClampPlaces(places);
}

bool InsertionAccepted(NumberStyle style, int places, const NumberSyntax& syntax,
                       const QString& text, int selStart, int selLength, const QString& inserted) {
    if (style == NumberStyle::General)
        return true;
    places = ClampPlaces(places);
    selStart = std::clamp<int>(selStart, 0, text.size());
    selLength = std::clamp<int>(selLength, 0, text.size() - selStart);

    // Typing the characters one by one, tracked by length and first separator only, so a
    // long clipboard text costs one pass.
    bool hasSeparator = text.contains(syntax.Decimal); // before the first key: selection included
    QString rest = text;
    rest.remove(selStart, selLength);
    qsizetype firstSeparator = rest.indexOf(syntax.Decimal);
    qsizetype length = rest.size();
    qsizetype caret = selStart;
    for (const QChar c : inserted) {
        if (c == BackspaceChar || !InAcceptedSet(style, syntax, c))
            return false;
        if (firstSeparator >= caret)
            ++firstSeparator;
        if (c == syntax.Decimal && (firstSeparator < 0 || caret < firstSeparator))
            firstSeparator = caret;
        ++length;
        if (hasSeparator &&
            (c == syntax.Decimal || (firstSeparator >= 0 && length - firstSeparator - 1 > places)))
            return false;
        ++caret;
        hasSeparator = firstSeparator >= 0;
    }
    return true;
}

} // namespace vg
