#include "gui/NumericText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace vg {
namespace {

NumberSyntax Comma() {
    NumberSyntax syntax;
    syntax.Decimal = u',';
    syntax.Currency = QStringLiteral("€");
    return syntax;
}

NumberSyntax Point() {
    NumberSyntax syntax;
    syntax.Decimal = u'.';
    syntax.Currency = QStringLiteral("$");
    return syntax;
}

double Read(const QString& text, NumberStyle style = NumberStyle::Float,
            const NumberSyntax& syntax = Comma()) {
    return ConvNumericText(text, style, syntax);
}

// ---- reading ----

// The field's own table of texts is in NumberFieldTest; these are the texts around it.
TEST(ConvNumericText, ReadsWhateverTheFieldHolds) {
    const struct {
        QString Text;
        NumberStyle Style;
        double Value;
    } cases[] = {
        {"-,", NumberStyle::Float, 0.0},
        {"5-", NumberStyle::Float, -5.0},
        {",5", NumberStyle::Float, 0.5},
        {"5,", NumberStyle::Float, 5.0},
        {"1.234,5", NumberStyle::Float, 1234.5},
        {"7,9,9", NumberStyle::Integer, 7.0},
        {",9", NumberStyle::Integer, 0.0},
        {"-12,7", NumberStyle::Integer, -12.0},
        {"abc", NumberStyle::Float, 0.0},
        {"12,5", NumberStyle::General, 0.0},
        {QString(400, u'9'), NumberStyle::Float, 0.0}, // beyond a double
        {"0," + QString(400, u'0') + "1", NumberStyle::Float, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.left(20).toStdString());
        EXPECT_DOUBLE_EQ(Read(c.Text, c.Style), c.Value);
    }
    EXPECT_DOUBLE_EQ(Read("1,234.5", NumberStyle::Float, Point()), 1234.5);
    EXPECT_DOUBLE_EQ(Read("12,7", NumberStyle::Integer, Point()), 127.0);
}

TEST(ConvNumericText, CurrencyFormsReadBack) {
    EXPECT_DOUBLE_EQ(Read("1.234,50\u00a0€", NumberStyle::Currency), 1234.5);
    EXPECT_DOUBLE_EQ(Read("-1.234,50 €", NumberStyle::Currency), -1234.5);
    EXPECT_DOUBLE_EQ(Read("($1,234.50)", NumberStyle::Currency, Point()), -1234.5);

    // A point inside the symbol must not become the decimal separator.
    NumberSyntax rupees = Point();
    rupees.Currency = QStringLiteral("Rs.");
    EXPECT_DOUBLE_EQ(Read("Rs.1,234.50", NumberStyle::Currency, rupees), 1234.5);

    // Some locales write their minus as U+2212.
    NumberSyntax crowns = Comma();
    crowns.Currency = QStringLiteral("kr");
    crowns.Minus = QStringLiteral("\u2212");
    EXPECT_DOUBLE_EQ(Read("\u22125,00 kr", NumberStyle::Currency, crowns), -5.0);
}

// ---- writing ----

TEST(FormatGeneral, ShortestPlainDecimals) {
    EXPECT_EQ(FormatGeneral(2.5, u','), "2,5");
    EXPECT_EQ(FormatGeneral(3.0, u','), "3");
    EXPECT_EQ(FormatGeneral(-0.5, u'.'), "-0.5");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, u','), "0,3");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0, u','), "0,333333333333333");
    EXPECT_EQ(FormatGeneral(-0.0, u','), "0");
    // never an exponent: "1e-05" would read back as -105
    EXPECT_EQ(FormatGeneral(0.00001, u','), "0,00001");
    EXPECT_EQ(FormatGeneral(1e20, u','), "100000000000000000000");
    EXPECT_EQ(FormatGeneral(-1234567890123456789.0, u','), "-1234567890123460000");
    EXPECT_EQ(FormatGeneral(std::nan(""), u','), "0");
    EXPECT_EQ(FormatGeneral(-HUGE_VAL, u','), "0");
}

TEST(FormatFixed, RoundsHalfAwayFromZeroOnFifteenDigits) {
    EXPECT_EQ(FormatFixed(2.675, 2, u','), "2,68"); // 2.67499999... in binary
    EXPECT_EQ(FormatFixed(12.5, 0, u','), "13");
    EXPECT_EQ(FormatFixed(-12.5, 0, u','), "-13");
    EXPECT_EQ(FormatFixed(0.004, 2, u','), "0,00");
    EXPECT_EQ(FormatFixed(0.006, 2, u','), "0,01");
    EXPECT_EQ(FormatFixed(9.995, 2, u','), "10,00");
    EXPECT_EQ(FormatFixed(999.96, 1, u'.'), "1000.0");
    EXPECT_EQ(FormatFixed(0.1 + 0.2, 9, u','), "0,300000000");
    EXPECT_EQ(FormatFixed(123456789.123456789, 9, u','), "123456789,123457000");
}

TEST(FormatFixed, ExactPlacesNoGroupingNoNegativeZero) {
    EXPECT_EQ(FormatFixed(270.0, 2, u','), "270,00");
    EXPECT_EQ(FormatFixed(1234567.891, 2, u','), "1234567,89");
    EXPECT_EQ(FormatFixed(5.0, 0, u','), "5");
    EXPECT_EQ(FormatFixed(1e20, 2, u','), "100000000000000000000,00");
    EXPECT_EQ(FormatFixed(-0.001, 2, u','), "0,00");
    EXPECT_EQ(FormatFixed(std::nan(""), 2, u','), "0,00");
    EXPECT_EQ(FormatFixed(1.5, 12, u','), "1,500000000");
    EXPECT_EQ(FormatFixed(1.5, -3, u','), "2");
}

TEST(FormatTruncated, CutsTowardZero) {
    EXPECT_EQ(FormatTruncated(12.7), "12");
    EXPECT_EQ(FormatTruncated(-12.7), "-12");
    EXPECT_EQ(FormatTruncated(-0.9), "0");
    EXPECT_EQ(FormatTruncated(1e20), "100000000000000000000"); // beyond any integer type
    EXPECT_EQ(FormatTruncated(std::nan("")), "0");
}

TEST(FieldForms, EditingAndDisplayFormsByStyle) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(EditingText(NumberStyle::Percentage, 0.125, 1, u','), "12,5");
    EXPECT_EQ(DisplayText(NumberStyle::Percentage, 0.125, 1, german), "12,5%");
    EXPECT_EQ(EditingText(NumberStyle::Integer, -7.9, 3, u','), "-7");
    EXPECT_EQ(EditingText(NumberStyle::Currency, 1234.5, 2, u','), "1234,50");
    EXPECT_TRUE(EditingText(NumberStyle::General, 1.0, 2, u',').isNull());
    EXPECT_TRUE(DisplayText(NumberStyle::General, 1.0, 2, german).isNull());
}

TEST(FieldForms, CurrencyDisplayReadsBackInManyLocales) {
    const QLocale locales[] = {
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Switzerland),
        QLocale(QLocale::Swedish, QLocale::Sweden),
        QLocale(QLocale::Hindi, QLocale::India),
        QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Japanese, QLocale::Japan),
    };
    for (const QLocale& locale : locales) {
        for (const double value : {1234.5, -1234.5, 0.25, -0.25}) {
            const QString shown = DisplayText(NumberStyle::Currency, value, 2, locale);
            SCOPED_TRACE((locale.name() + " " + shown).toStdString());
            EXPECT_DOUBLE_EQ(
                ConvNumericText(shown, NumberStyle::Currency, NumberSyntax::FromLocale(locale)),
                value);
        }
    }
}

// Found by fuzzing: the currency form rounded the binary value while the editing form
// rounds the decimal one, and kept the sign of an amount that rounds to zero.
TEST(FieldForms, CurrencyDisplayShowsTheAmountOfTheEditingForm) {
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    EXPECT_EQ(EditingText(NumberStyle::Currency, 2.675, 2, u'.'), "2.68");
    EXPECT_EQ(DisplayText(NumberStyle::Currency, 2.675, 2, american), "$2.68");
    EXPECT_EQ(DisplayText(NumberStyle::Currency, -2.675, 2, american), "($2.68)");
    EXPECT_EQ(DisplayText(NumberStyle::Currency, -0.243, 0, swedish), QStringLiteral("0\u00a0kr"));
}

// Random numbers through the written forms and back.
TEST(FieldForms, WrittenFormsReadBackAsTheNumber) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 20);
    std::uniform_int_distribution<int> places(0, 9);
    for (int i = 0; i < 3000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const int decimals = places(random);
        SCOPED_TRACE(value);

        const double general = Read(FormatGeneral(value, u','));
        EXPECT_NEAR(general, value, std::fabs(value) * 1e-14);

        const double fixed = Read(FormatFixed(value, decimals, u','));
        EXPECT_NEAR(fixed, value, 0.5 * std::pow(10.0, -decimals) + std::fabs(value) * 1e-14);
    }
}

// ---- the key filter ----

bool Key(const QString& text, int selStart, int selLength, QChar key,
         NumberStyle style = NumberStyle::Float, int places = 2,
         const NumberSyntax& syntax = Comma()) {
    return KeyAccepted(style, places, syntax, text, selStart, selLength, key);
}

// The typed cases with real keys are in NumberFieldTest.
TEST(KeyAccepted, SeparatorAndDecimals) {
    EXPECT_TRUE(Key("", 0, 0, u','));
    EXPECT_TRUE(Key("12345", 1, 0, u',')); // anywhere while the text has none
    EXPECT_FALSE(Key("12345", 1, 0, u',', NumberStyle::Integer));
    EXPECT_TRUE(Key("1,25", 0, 0, u'3'));
    EXPECT_TRUE(Key("123,45", 4, 2, u'6')); // 123,6
    EXPECT_FALSE(Key("1,", 2, 0, u'5', NumberStyle::Float, 0));
    EXPECT_FALSE(Key("123,4", 0, 1, u'9', NumberStyle::Float, 0));
}

TEST(KeyAccepted, AcceptedCharactersDependOnTheStyle) {
    const struct {
        NumberStyle Style;
        QString Accepted;
    } styles[] = {
        {NumberStyle::Integer, "0123456789-()"},
        {NumberStyle::Float, "0123456789-(),"},
        {NumberStyle::Currency, "0123456789-(),€"},
        {NumberStyle::Percentage, "0123456789-(),%"},
    };
    const QString candidates = QStringLiteral("0123456789-(),%€.aeE+ \t\r\u2212");
    for (const auto& style : styles) {
        for (const QChar c : candidates) {
            SCOPED_TRACE(std::string("style ") + std::to_string(static_cast<int>(style.Style)) +
                         " key " + QString(c).toStdString());
            EXPECT_EQ(Key("", 0, 0, c, style.Style), style.Accepted.contains(c));
        }
        EXPECT_FALSE(Key("", 0, 0, QChar(), style.Style));
    }
    for (const QChar c : candidates)
        EXPECT_TRUE(Key("", 0, 0, c, NumberStyle::General));
}

TEST(KeyAccepted, BackspaceAlwaysAndAnySelectionIsHarmless) {
    EXPECT_TRUE(Key("1,2345", 6, 0, BackspaceChar)); // more decimals than allowed
    EXPECT_TRUE(Key("", 0, 0, BackspaceChar, NumberStyle::Integer));
    EXPECT_TRUE(Key("1,2", -5, 0, u'3'));
    EXPECT_TRUE(Key("1,2", 100, 0, u'3'));
    EXPECT_TRUE(Key("1,2", 1, 1000, u'3'));
    EXPECT_TRUE(Key("1,2", 1, -4, u'3'));
}

// ---- pasted text ----

bool Paste(const QString& text, int selStart, int selLength, const QString& inserted,
           NumberStyle style = NumberStyle::Float, int places = 2,
           const NumberSyntax& syntax = Comma()) {
    return InsertionAccepted(style, places, syntax, text, selStart, selLength, inserted);
}

TEST(InsertionAccepted, AllOfItOrNothing) {
    EXPECT_TRUE(Paste("", 0, 0, "12,5"));
    EXPECT_FALSE(Paste("", 0, 0, "3.14")); // a point would be dropped: 314
    EXPECT_FALSE(Paste("", 0, 0, "1,234"));
    EXPECT_FALSE(Paste("1,2", 3, 0, "5,5"));
    EXPECT_TRUE(Paste("123,45", 0, 6, "9,5"));
    EXPECT_FALSE(Paste("", 0, 0, "1\b2"));
    EXPECT_TRUE(Paste("", 0, 0, "abc", NumberStyle::General));
}

// The one-pass check has to agree with typing the characters one at a time.
TEST(InsertionAccepted, AgreesWithTypingTheCharacters) {
    const QString alphabet = QStringLiteral("0123,,,-%€a");
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    std::uniform_int_distribution<int> lengthOf(0, 6);
    std::uniform_int_distribution<int> styleOf(static_cast<int>(NumberStyle::Integer),
                                               static_cast<int>(NumberStyle::Percentage));
    std::uniform_int_distribution<int> placesOf(0, 3);
    const auto randomText = [&] {
        QString s;
        for (int n = lengthOf(random); n > 0; --n)
            s += alphabet[pick(random)];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const QString text = randomText();
        const QString inserted = randomText();
        const auto style = static_cast<NumberStyle>(styleOf(random));
        const int places = placesOf(random);
        const int selStart = std::uniform_int_distribution<int>(0, text.size())(random);
        const int selLength = std::uniform_int_distribution<int>(0, text.size() - selStart)(random);

        bool typed = true;
        QString current = text;
        int caret = selStart;
        int selected = selLength;
        for (const QChar c : inserted) {
            if (!KeyAccepted(style, places, Comma(), current, caret, selected, c)) {
                typed = false;
                break;
            }
            current.remove(caret, selected);
            current.insert(caret++, c);
            selected = 0;
        }
        ASSERT_EQ(InsertionAccepted(style, places, Comma(), text, selStart, selLength, inserted),
                  typed)
            << "style " << static_cast<int>(style) << " places " << places << " text '"
            << text.toStdString() << "' sel " << selStart << "+" << selLength << " inserted '"
            << inserted.toStdString() << "'";
    }
}

} // namespace
} // namespace vg
