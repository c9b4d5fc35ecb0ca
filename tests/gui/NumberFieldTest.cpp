#include "gui/NumberField.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace vg {
namespace {

// A real window with the field and a second field to move the focus to.
class NumberFieldTest : public ::testing::Test {
protected:
    virtual QLocale TestLocale() const { return QLocale(QLocale::German, QLocale::Germany); }

    void SetUp() override {
        SavedLocale = QLocale();
        QLocale::setDefault(TestLocale());
        Window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(Window.get());
        Edit = new NumberField(Window.get());
        Other = new QLineEdit(Window.get());
        layout->addWidget(Edit);
        layout->addWidget(Other);
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        // activation focused the first field; the tests enter it themselves
        Other->setFocus(Qt::OtherFocusReason);
        ASSERT_FALSE(Edit->hasFocus());
    }

    void TearDown() override {
        Window.reset();
        QGuiApplication::clipboard()->clear();
        QLocale::setDefault(SavedLocale);
    }

    // The field as the settings dialogs use it.
    void MakeAngleField(double min = 0.01, double max = 270.0) {
        Edit->SetStyle(NumberStyle::Float);
        Edit->SetDecimalPlaces(2);
        Edit->Range().SetMinValue(min);
        Edit->Range().SetMaxValue(max);
    }

    void Enter() {
        Edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(Edit->hasFocus());
    }
    void Leave() {
        Other->setFocus(Qt::TabFocusReason);
        ASSERT_FALSE(Edit->hasFocus());
    }
    // Enters the field, replaces its text by typing and leaves it.
    void TypeAndLeave(const char* typed) {
        Enter();
        Edit->selectAll();
        QTest::keyClicks(Edit, typed);
        Leave();
    }
    // Focused field holding `text` with the caret at `caret`.
    void EditAt(const QString& text, int caret) {
        Enter();
        Edit->setText(text);
        Edit->setCursorPosition(caret);
    }
    // A key whose character QTest cannot name.
    void TypeCharacter(QChar c) {
        QKeyEvent press(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(Edit, &press);
    }
    void PasteWithCtrlV(const QString& clip) {
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(Edit, Qt::Key_V, Qt::ControlModifier);
    }
    QColor NormalBase() const {
        return QApplication::palette(Edit).color(QPalette::Active, QPalette::Base);
    }

    QLocale SavedLocale;
    std::unique_ptr<QWidget> Window;
    NumberField* Edit = nullptr;
    QLineEdit* Other = nullptr;
};

// ---- reading the value ----

TEST_F(NumberFieldTest, ValueOfTheTextUnderACommaLocale) {
    const struct {
        NumberStyle Style;
        const char* Text;
        double Value;
    } cases[] = {
        {NumberStyle::Float, "", 0.0},
        {NumberStyle::Float, "-", 0.0},
        {NumberStyle::Float, ",", 0.0},
        {NumberStyle::Integer, "12,7", 12.0},
        {NumberStyle::Float, "1,2,3", 1.2},
        {NumberStyle::Float, "(5)", -5.0},
        {NumberStyle::Float, "5(", 5.0},
        {NumberStyle::Float, "12-3", -123.0},
        {NumberStyle::Percentage, "12,5%", 0.125},
        {NumberStyle::General, "42", 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        Edit->SetStyle(c.Style);
        Edit->setText(c.Text);
        EXPECT_DOUBLE_EQ(Edit->Value(), c.Value);
    }
}

TEST_F(NumberFieldTest, IntegerFieldShowsTheWholeNumberAfterLeaving) {
    Edit->SetStyle(NumberStyle::Integer);
    Enter();
    Edit->setText("12,7"); // the separator cannot be typed into an integer field
    Leave();
    EXPECT_EQ(Edit->text(), "12");
    EXPECT_DOUBLE_EQ(Edit->Value(), 12.0);
}

// ---- the key filter with real keys ----

TEST_F(NumberFieldTest, TwoDecimalsCaretAtTheEnd) {
    MakeAngleField();
    EditAt("1,25", 4);
    QTest::keyClick(Edit, '7');
    EXPECT_EQ(Edit->text(), "1,25");
    for (int caret = 0; caret <= 4; ++caret) {
        Edit->setCursorPosition(caret);
        QTest::keyClick(Edit, ',');
        EXPECT_EQ(Edit->text(), "1,25") << "caret " << caret;
    }
    Edit->setCursorPosition(4);
    QTest::keyClick(Edit, Qt::Key_Backspace);
    EXPECT_EQ(Edit->text(), "1,2");
    QTest::keyClick(Edit, '7');
    EXPECT_EQ(Edit->text(), "1,27");
}

TEST_F(NumberFieldTest, TypingOverTheSelectedDecimals) {
    MakeAngleField(0.0, 10000.0);
    EditAt("123,45", 0);
    Edit->setSelection(3, 3);
    QTest::keyClick(Edit, ',');
    EXPECT_EQ(Edit->text(), "123,45");
    QTest::keyClick(Edit, '6');
    EXPECT_EQ(Edit->text(), "1236");
}

TEST_F(NumberFieldTest, KeysOutsideTheStyleAreDiscarded) {
    MakeAngleField();
    EditAt("", 0);
    QTest::keyClicks(Edit, "a1b %2");
    EXPECT_EQ(Edit->text(), "12");

    Edit->SetStyle(NumberStyle::Percentage);
    EditAt("", 0);
    QTest::keyClicks(Edit, "12,5%");
    EXPECT_EQ(Edit->text(), "12,5%");

    Edit->SetStyle(NumberStyle::Currency);
    EditAt("", 0);
    TypeCharacter(u'€');
    TypeCharacter(u'$');
    EXPECT_EQ(Edit->text(), "€");

    Edit->SetStyle(NumberStyle::Integer);
    EditAt("", 0);
    QTest::keyClicks(Edit, "-(1,5)");
    EXPECT_EQ(Edit->text(), "-(15)");

    Edit->SetStyle(NumberStyle::General);
    EditAt("", 0);
    QTest::keyClicks(Edit, "x,y");
    EXPECT_EQ(Edit->text(), "x,y");
}

// Under a comma locale 47.25 typed with a point, or with the keypad's decimal key, is 47,25:
// not 4725, which leaving the angle field would turn into its maximum without a word.
TEST_F(NumberFieldTest, APointOrTheKeypadDecimalKeyTypesTheSeparator) {
    MakeAngleField(10.0, 300.0);
    TypeAndLeave("47.25");
    EXPECT_EQ(Edit->text(), "47,25");
    EXPECT_DOUBLE_EQ(Edit->Value(), 47.25);
    EditAt("1,2", 3);
    QTest::keyClick(Edit, '.'); // the field has its separator already
    EXPECT_EQ(Edit->text(), "1,2");

    EditAt("", 0);
    QTest::keyClicks(Edit, "47");
    QTest::keyClick(Edit, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClicks(Edit, "5");
    EXPECT_EQ(Edit->text(), "47,5");
    Edit->SetStyle(NumberStyle::Integer); // no separator in a whole number, from any key
    EditAt("4", 1);
    QTest::keyClick(Edit, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(Edit, '.');
    EXPECT_EQ(Edit->text(), "4");
}

TEST_F(NumberFieldTest, EditingAndNavigationKeysStillWork) {
    MakeAngleField();
    EditAt("1,25", 4);
    QTest::keyClick(Edit, Qt::Key_Home);
    QTest::keyClick(Edit, Qt::Key_Delete);
    EXPECT_EQ(Edit->text(), ",25");
    QTest::keyClick(Edit, '8');
    EXPECT_EQ(Edit->text(), "8,25");
    QTest::keyClick(Edit, Qt::Key_Right);
    QTest::keyClick(Edit, Qt::Key_Backspace);
    EXPECT_EQ(Edit->text(), "825");
    QTest::keyClick(Edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Edit->selectedText(), "825");
    QTest::keyClick(Edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Edit->text(), "8,25");

    // Return must reach the dialog's default button.
    QSignalSpy returns(Edit, &QLineEdit::returnPressed);
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(returns.count(), 1);
}

// ---- pasted text ----

TEST_F(NumberFieldTest, PasteGoesInWholeOrNotAtAll) {
    MakeAngleField();
    EditAt("", 0);
    PasteWithCtrlV(" 12,5\n");
    EXPECT_EQ(Edit->text(), "12,5");

    EditAt("", 0);
    PasteWithCtrlV("3.14"); // would become 314 character by character
    EXPECT_EQ(Edit->text(), "");
    QGuiApplication::clipboard()->setText("1,234");
    QTest::keyClick(Edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Edit->text(), "");

    EditAt("123,45", 0);
    Edit->selectAll();
    PasteWithCtrlV("9,5");
    EXPECT_EQ(Edit->text(), "9,5");

    Edit->SetStyle(NumberStyle::General);
    EditAt("", 0);
    PasteWithCtrlV("abc");
    EXPECT_EQ(Edit->text(), "abc");
}

// Opening the context menu moves the focus to the menu; the field must not be left (and
// reformatted) by that.
TEST_F(NumberFieldTest, ContextMenuPasteIsFilteredAndKeepsTheFieldEntered) {
    Edit->SetStyle(NumberStyle::Percentage);
    Edit->SetDecimalPlaces(1);
    Edit->Range().SetMaxValue(1.0);
    Edit->SetValue(12.5);
    Enter();
    ASSERT_EQ(Edit->text(), "12,5");

    const auto pasteFromMenu = [this](const QString& clip) {
        QGuiApplication::clipboard()->setText(clip);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                Edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(Edit, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* paste = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QStringLiteral("&Paste")))
                paste = action;
        }
        ASSERT_NE(paste, nullptr);
        EXPECT_EQ(Edit->text(), "12,5"); // still the editing form
        paste->trigger();
        menu->close();
    };

    Edit->selectAll();
    pasteFromMenu("3.5");
    EXPECT_EQ(Edit->text(), "12,5");
    Edit->selectAll();
    pasteFromMenu("7,5");
    EXPECT_EQ(Edit->text(), "7,5");
    Leave();
    EXPECT_EQ(Edit->text(), "7,5%");
}

TEST_F(NumberFieldTest, DropsAreRefusedInNumberStyles) {
    MakeAngleField();
    QMimeData mime;
    mime.setText("300");
    QDragEnterEvent event(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Edit, &event);
    EXPECT_FALSE(event.isAccepted());
}

// ---- leaving the field ----

TEST_F(NumberFieldTest, LeavingClampsIntoTheRange) {
    MakeAngleField();
    QString textAtExit;
    QObject::connect(Edit, &NumberField::Exited, [&] { textAtExit = Edit->text(); });

    TypeAndLeave("300");
    EXPECT_EQ(Edit->text(), "270,00");
    EXPECT_EQ(textAtExit, "270,00");
    EXPECT_FALSE(Edit->OutOfRange());
    EXPECT_DOUBLE_EQ(Edit->Value(), 270.0);

    TypeAndLeave("0");
    EXPECT_EQ(Edit->text(), "0,01");
    EXPECT_FALSE(Edit->OutOfRange());

    TypeAndLeave("-5");
    EXPECT_EQ(Edit->text(), "0,01");
}

TEST_F(NumberFieldTest, WithoutEnforcementTheValueStaysAndIsFlagged) {
    MakeAngleField();
    Edit->Range().SetEnforce(false);
    TypeAndLeave("300");
    EXPECT_EQ(Edit->text(), "300,00");
    EXPECT_TRUE(Edit->OutOfRange());
}

TEST_F(NumberFieldTest, TheBoundsThemselvesAreInRange) {
    MakeAngleField();
    TypeAndLeave("270");
    EXPECT_EQ(Edit->text(), "270,00");
    EXPECT_FALSE(Edit->OutOfRange());
    Edit->SetValue(0.01);
    EXPECT_FALSE(Edit->OutOfRange());
    Edit->SetValue(270.01);
    EXPECT_TRUE(Edit->OutOfRange());
    Edit->SetValue(0.0);
    EXPECT_TRUE(Edit->OutOfRange());
}

// The bounds of a percentage field are fractions like its Value.
TEST_F(NumberFieldTest, PercentageClampsToTheFractionBounds) {
    Edit->SetStyle(NumberStyle::Percentage);
    Edit->SetDecimalPlaces(1);
    Edit->Range().SetMinValue(0.0);
    Edit->Range().SetMaxValue(0.5);
    TypeAndLeave("80");
    EXPECT_EQ(Edit->text(), "50,0%");
    EXPECT_DOUBLE_EQ(Edit->Value(), 0.5);
    EXPECT_FALSE(Edit->OutOfRange());
}

TEST_F(NumberFieldTest, HidingTheWindowLeavesTheField) {
    MakeAngleField();
    Enter();
    QTest::keyClicks(Edit, "300");
    Window->hide();
    EXPECT_EQ(Edit->text(), "270,00");
}

// Switching to another window is no leaving; but when the focus moved on meanwhile, the
// field is left as soon as its window is active again.
TEST_F(NumberFieldTest, AnotherWindowInFrontDoesNotLeaveTheField) {
    Edit->SetStyle(NumberStyle::Percentage);
    Edit->SetDecimalPlaces(1);
    Edit->SetValue(12.5);
    Enter();
    QWidget elsewhere;
    const auto activate = [](QWidget* window) {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    };

    ASSERT_TRUE(activate(&elsewhere));
    EXPECT_EQ(Edit->text(), "12,5");
    Edit->setCursorPosition(2);
    ASSERT_TRUE(activate(Window.get()));
    ASSERT_TRUE(Edit->hasFocus());
    EXPECT_EQ(Edit->text(), "12,5");
    EXPECT_FALSE(Edit->hasSelectedText()); // not entered again

    ASSERT_TRUE(activate(&elsewhere));
    Other->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(activate(Window.get()));
    ASSERT_TRUE(Other->hasFocus());
    EXPECT_EQ(Edit->text(), "12,5%");
}

// ---- entering: editing and display forms ----

TEST_F(NumberFieldTest, PercentageShowsItsFigureWhileEditing) {
    Edit->SetStyle(NumberStyle::Percentage);
    Edit->SetDecimalPlaces(1);
    Edit->SetValue(12.5);
    EXPECT_EQ(Edit->text(), "12,5%");
    EXPECT_DOUBLE_EQ(Edit->Value(), 0.125);

    Enter();
    EXPECT_EQ(Edit->text(), "12,5");
    EXPECT_EQ(Edit->selectedText(), "12,5");
    EXPECT_DOUBLE_EQ(Edit->Value(), 0.125);
    Leave();
    EXPECT_EQ(Edit->text(), "12,5%");
}

TEST_F(NumberFieldTest, ActiveFocusAndAutoSelectOff) {
    Edit->SetStyle(NumberStyle::Percentage);
    Edit->SetDecimalPlaces(1);
    Edit->SetActiveFocus(false);
    Edit->SetAutoSelect(false);
    Edit->SetValue(12.5);
    Enter();
    EXPECT_EQ(Edit->text(), "12,5%"); // the display form stays
    EXPECT_FALSE(Edit->hasSelectedText());
}

TEST_F(NumberFieldTest, CurrencyUsesTheLocaleFormatOnlyWhenNotFocused) {
    Edit->SetStyle(NumberStyle::Currency);
    Edit->SetDecimalPlaces(2);
    Edit->Range().SetMinValue(-1e6);
    Edit->Range().SetMaxValue(1e6);
    Edit->SetValue(1234.5);
    EXPECT_EQ(Edit->text(), QLocale().toCurrencyString(1234.5, QStringLiteral("€"), 2));
    EXPECT_DOUBLE_EQ(Edit->Value(), 1234.5);
    Enter();
    EXPECT_EQ(Edit->text(), "1234,50");
    Leave();
    Edit->SetValue(-1234.5);
    EXPECT_DOUBLE_EQ(Edit->Value(), -1234.5);
}

TEST_F(NumberFieldTest, SetValueWritesPlainDecimals) {
    Edit->SetStyle(NumberStyle::Float);
    Edit->SetDecimalPlaces(5);
    Edit->Range().SetMinValue(0.0);
    Edit->SetValue(0.00001); // not -105 from "1e-05"
    EXPECT_EQ(Edit->text(), "0,00001");
    EXPECT_DOUBLE_EQ(Edit->Value(), 0.00001);
    Edit->SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Edit->text(), "0,00000");
}

TEST_F(NumberFieldTest, StyleAndPlacesReformatAtOnce) {
    Edit->setText("2,5");
    EXPECT_EQ(Edit->text(), "2,5"); // NumberStyle::General never reformats
    Edit->SetDecimalPlaces(2);
    EXPECT_EQ(Edit->text(), "2,5");
    Edit->SetStyle(NumberStyle::Float);
    EXPECT_EQ(Edit->text(), "2,50");
    Edit->SetDecimalPlaces(1);
    EXPECT_EQ(Edit->text(), "2,5");
    Edit->SetDecimalPlaces(42);
    EXPECT_EQ(Edit->DecimalPlaces(), 9);
    Edit->SetStyle(NumberStyle::Integer);
    EXPECT_EQ(Edit->text(), "2");
}

// ---- re-evaluation and colours ----

TEST_F(NumberFieldTest, ChangedHandlerSeesTheStateOfThePreviousText) {
    MakeAngleField(0.0, 10.0);
    Edit->setText("5");
    bool flagInHandler = true;
    QObject::connect(Edit, &NumberField::Changed, [&] { flagInHandler = Edit->OutOfRange(); });
    Edit->setText("50");
    EXPECT_FALSE(flagInHandler);
    EXPECT_TRUE(Edit->OutOfRange());
}

TEST_F(NumberFieldTest, AlertColourOnlyWhenActive) {
    MakeAngleField(0.0, 10.0);
    Edit->Range().SetEnforce(false);
    Edit->setText("50");
    EXPECT_TRUE(Edit->OutOfRange());
    EXPECT_EQ(Edit->BackgroundColor(), NormalBase());

    Edit->Alert().SetActive(true);
    EXPECT_EQ(Edit->BackgroundColor(), QColor(255, 0, 0));
    Edit->Alert().SetColor(Qt::yellow);
    EXPECT_EQ(Edit->BackgroundColor(), QColor(Qt::yellow));

    Edit->setText("5");
    EXPECT_EQ(Edit->BackgroundColor(), NormalBase());
    Edit->Range().SetColor(Qt::cyan);
    EXPECT_EQ(Edit->BackgroundColor(), QColor(Qt::cyan));
    Edit->Range().SetColor(PaletteBase);
    EXPECT_EQ(Edit->BackgroundColor(), NormalBase());

    // a text field is never alerted, even when its 0 is out of range
    Edit->SetStyle(NumberStyle::General);
    Edit->Range().SetMinValue(1.0);
    EXPECT_TRUE(Edit->OutOfRange());
    EXPECT_EQ(Edit->BackgroundColor(), NormalBase());
}

// Setters re-evaluate only when they store something; the bound setter always does.
TEST_F(NumberFieldTest, SettersReevaluateOnlyOnAChange) {
    MakeAngleField();
    Edit->SetValue(5);
    Edit->SetOutOfRange(true); // preset by the owner
    Edit->Range().SetEnforce(true);
    Edit->Range().SetColor(PaletteBase);
    Edit->Alert().SetActive(false);
    Edit->Alert().SetColor(AlertRed);
    EXPECT_TRUE(Edit->OutOfRange());
    Edit->Range().SetMaxValue(Edit->Range().MaxValue());
    EXPECT_FALSE(Edit->OutOfRange());

    Edit->SetOutOfRange(true);
    Edit->Range().SetEnforce(false);
    EXPECT_FALSE(Edit->OutOfRange());
}

// ---- range and alert settings ----

TEST(NumberRange, MinimumNeverAboveMaximum) {
    NumberRange range;
    EXPECT_DOUBLE_EQ(range.MinValue(), -100.0);
    EXPECT_DOUBLE_EQ(range.MaxValue(), 100.0);

    range.SetMinValue(150.0);
    EXPECT_DOUBLE_EQ(range.MinValue(), 100.0);
    EXPECT_DOUBLE_EQ(range.MaxValue(), 100.0);

    range.SetMaxValue(-20.0);
    EXPECT_DOUBLE_EQ(range.MaxValue(), -20.0);
    EXPECT_DOUBLE_EQ(range.MinValue(), -20.0);

    range.SetValue(NumberRange::MaxIndex, 300.0);
    range.SetValue(NumberRange::MinIndex, 10.0);
    EXPECT_DOUBLE_EQ(range.MinValue(), 10.0);
    EXPECT_DOUBLE_EQ(range.MaxValue(), 300.0);

    range.SetMinValue(std::numeric_limits<double>::quiet_NaN());
    range.SetMaxValue(std::numeric_limits<double>::quiet_NaN());
    range.SetValue(3, 7.0);
    EXPECT_DOUBLE_EQ(range.MinValue(), 10.0);
    EXPECT_DOUBLE_EQ(range.MaxValue(), 300.0);
}

TEST_F(NumberFieldTest, AssignCopiesSettingsAndReevaluatesTheOwner) {
    MakeAngleField();
    Edit->SetValue(200);
    EXPECT_FALSE(Edit->OutOfRange());

    NumberRange narrow;
    narrow.SetMinValue(0.2);
    narrow.SetMaxValue(25.5);
    narrow.SetEnforce(false);
    narrow.SetColor(Qt::green);
    Edit->Range().Assign(narrow);
    EXPECT_DOUBLE_EQ(Edit->Range().MinValue(), 0.2);
    EXPECT_DOUBLE_EQ(Edit->Range().MaxValue(), 25.5);
    EXPECT_FALSE(Edit->Range().Enforce());
    EXPECT_TRUE(Edit->OutOfRange());

    OutOfRangeAlert alert;
    alert.SetActive(true);
    alert.SetColor(Qt::magenta);
    Edit->Alert().Assign(alert);
    EXPECT_EQ(Edit->BackgroundColor(), QColor(Qt::magenta));

    // the copy source is independent of the field afterwards
    narrow.SetMaxValue(1000.0);
    EXPECT_TRUE(Edit->OutOfRange());
    EXPECT_DOUBLE_EQ(Edit->Range().MaxValue(), 25.5);
}

// ---- the same under a point locale ----

class NumberFieldPointLocaleTest : public NumberFieldTest {
protected:
    QLocale TestLocale() const override { return QLocale(QLocale::English, QLocale::UnitedStates); }
};

TEST_F(NumberFieldPointLocaleTest, KeyFilter) {
    MakeAngleField();
    EditAt("1.25", 4);
    QTest::keyClicks(Edit, "7,.");
    EXPECT_EQ(Edit->text(), "1.25");
    EditAt("125", 1);
    QTest::keyClicks(Edit, ",.");
    EXPECT_EQ(Edit->text(), "1.25");
}

TEST_F(NumberFieldPointLocaleTest, ClampsAndShowsWithAPoint) {
    MakeAngleField();
    TypeAndLeave("300");
    EXPECT_EQ(Edit->text(), "270.00");
    TypeAndLeave("12,5"); // a comma typed where the point is meant is taken for it
    EXPECT_EQ(Edit->text(), "12.50");
    TypeAndLeave("12.5");
    EXPECT_EQ(Edit->text(), "12.50");
    EXPECT_DOUBLE_EQ(Edit->Value(), 12.5);
}

TEST_F(NumberFieldPointLocaleTest, PercentageAndPaste) {
    Edit->SetStyle(NumberStyle::Percentage);
    Edit->SetDecimalPlaces(1);
    Edit->SetValue(12.5);
    EXPECT_EQ(Edit->text(), "12.5%");
    EXPECT_DOUBLE_EQ(Edit->Value(), 0.125);

    EditAt("", 0);
    PasteWithCtrlV("1,5");
    EXPECT_EQ(Edit->text(), "");
    PasteWithCtrlV("1.5");
    EXPECT_EQ(Edit->text(), "1.5");
}

} // namespace
} // namespace vg
