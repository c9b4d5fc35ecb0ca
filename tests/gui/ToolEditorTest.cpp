#include "gui/RadioGroup.h"
#include "support/SettingsWorld.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace vg {
namespace {

// Tools 0, 1 and 3 of a configuration from the unit, in the open settings window.
class ToolEditorTest : public ::testing::Test {
protected:
    ToolEditorTest() {
        World.Start();
        World.SetUnitSettings();
        World.SetTool(0, 12000, 100, 1, "drill");
        World.SetTool(1, 12345, 70, 0);
        World.SetTool(3, 4550, 70, 2, "mill");
        World.Loaded(ConfigSource::Unit);
        World.Open();
    }
    ~ToolEditorTest() override { World.Settings().hide(); }

    ToolEditor& E() { return World.Editor(); }
    const ToolRecord& Tool(int nr) { return World.Config().ConfigImage.Tools[size_t(nr)]; }
    std::string Name(int nr) { return ToolNameText(World.Config().ToolNameTable[size_t(nr)]); }

    // Opens the editor with `opener`; `inside` runs in it and closes it.
    void Edit(QPushButton* opener, const std::function<void()>& inside) {
        World.WhenEditorOpens(inside);
        opener->click();
        EXPECT_EQ(World.Settings().OpenEditor(), nullptr) << "the editor is still open";
    }
    void Change(int line, const std::function<void()>& inside) {
        World.Settings().ToolList->setCurrentRow(line);
        Edit(World.Settings().ChangeButton, inside);
    }
    // Typed into the field, which keeps the focus.
    static void TypeIn(QLineEdit* field, const QString& text) {
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        for (const QChar c : text) {
            // QTest names ASCII keys only
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
    QStringList Offered() {
        QStringList numbers;
        for (int i = 0; i < E().ToolNumberBox->count(); ++i) {
            numbers << E().ToolNumberBox->itemText(i);
        }
        return numbers;
    }

    test::SettingsWorld World;
};

TEST_F(ToolEditorTest, OffersTheFreeNumbersAndProposesOne) {
    Edit(World.Settings().NewButton, [this] {
        EXPECT_EQ(E().windowTitle(), "Setting New Tool");
        const QStringList offered = Offered();
        EXPECT_EQ(offered.size(), 125);
        EXPECT_EQ(offered.mid(0, 3), (QStringList{"2", "4", "5"}));
        EXPECT_EQ(offered.last(), "127");
        EXPECT_TRUE(E().ToolNumberProposal->isVisible());
        EXPECT_EQ(E().ToolNumberProposal->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(E().ToolNumberProposal->text(), "2");
        EXPECT_EQ(E().ToolNameField->text(), "");
        EXPECT_EQ(E().AngleField->text(), "120.00"); // the default settings
        EXPECT_EQ(E().ToleranceField->text(), "3.00");
        EXPECT_EQ(E().IntensityGroup->ItemIndex(), 1);
        EXPECT_TRUE(E().TeachButton->isEnabled());
        E().CancelButton->click();
    });
    Change(2, [this] {
        EXPECT_EQ(E().windowTitle(), "Setting Tool");
        EXPECT_EQ(Offered().mid(0, 3), (QStringList{"2", "3", "4"}));
        EXPECT_EQ(E().ToolNumberProposal->text(), "3");
        EXPECT_EQ(E().ToolNameField->text(), "mill");
        EXPECT_EQ(E().AngleField->text(), "45.50");
        EXPECT_EQ(E().ToleranceField->text(), "0.70");
        EXPECT_EQ(E().IntensityGroup->ItemIndex(), 2);
        E().CancelButton->click();
    });
    EXPECT_TRUE(World.Messages.History().empty());
    EXPECT_EQ(World.Settings().ToolEdit.EditTool, 3);
}

// The proposal takes no input of its own (keys reach the list under it), but it must not look
// greyed out like a field that is off.
TEST_F(ToolEditorTest, TheProposedNumberLooksLikeAnInput) {
    Edit(World.Settings().NewButton, [this] {
        QLineEdit* proposal = E().ToolNumberProposal;
        QLineEdit input(proposal->text(), proposal->parentWidget());
        input.setGeometry(proposal->geometry());
        EXPECT_EQ(proposal->grab().toImage(), input.grab().toImage());
        QTest::keyClicks(E().ToolNumberBox, "9");
        EXPECT_EQ(E().ToolNumberInForce(), 9);
        E().CancelButton->click();
    });
}

TEST_F(ToolEditorTest, OkClampsIntoTheRanges) {
    struct Case {
        const char* Angle;
        const char* Tolerance;
        float StoredAngle, StoredTolerance;
    };
    for (const Case& c : {Case{"350", "30", 300.0F, 25.5F}, Case{"5", "0.1", 10.0F, 0.2F}}) {
        Change(2, [this, c] {
            TypeIn(E().ToleranceField, c.Tolerance);
            TypeIn(E().AngleField, c.Angle);
            E().CloseButton->click();
        });
        EXPECT_FLOAT_EQ(Tool(3).Angle, c.StoredAngle);
        EXPECT_FLOAT_EQ(Tool(3).Tolerance, c.StoredTolerance);
        EXPECT_EQ(World.SelectedLine(), 2);
    }
}

TEST_F(ToolEditorTest, CancelStoresNothingAndAsksNothing) {
    Change(2, [this] {
        TypeIn(E().AngleField, "200");
        TypeIn(E().ToolNameField, "other");
        E().CancelButton->click();
    });
    EXPECT_FLOAT_EQ(Tool(3).Angle, 45.5F);
    EXPECT_EQ(Name(3), "mill");
    EXPECT_TRUE(World.Messages.History().empty());
}

// Escape then Enter must not add a tool nobody entered: Escape closes at once, as Cancel.
TEST_F(ToolEditorTest, EscapeIsTheCancelButton) {
    Edit(World.Settings().NewButton, [this] {
        QTest::keyClick(E().ToolNumberBox, Qt::Key_Escape); // where the window puts the focus
    });
    Change(2, [this] {
        TypeIn(E().AngleField, "200");
        QTest::keyClick(E().AngleField, Qt::Key_Escape);
    });
    EXPECT_TRUE(World.Messages.History().empty());
    EXPECT_EQ(Tool(2).Programmed, 0);
    EXPECT_FLOAT_EQ(Tool(3).Angle, 45.5F);
}

TEST_F(ToolEditorTest, TheCloseBoxAsksOnlyAboutAChange) {
    for (int line : {0, 1}) { // 120.00 / 1.00 and 123.45 / 0.70
        Change(line, [this] { E().close(); });
    }
    EXPECT_TRUE(World.Messages.History().empty());

    for (MessageResult answer : {MessageResult::No, MessageResult::Cancel, MessageResult::Yes}) {
        World.Messages.Expect("Save programmed data?", answer);
        Change(2, [this] {
            TypeIn(E().AngleField, "200");
            E().close();
        });
        EXPECT_FLOAT_EQ(Tool(3).Angle, answer == MessageResult::Yes ? 200.0F : 45.5F);
    }
}

TEST_F(ToolEditorTest, ANewToolAlwaysCountsAsChanged) {
    World.Messages.Expect("Save programmed data?", MessageResult::No);
    Edit(World.Settings().NewButton, [this] { E().close(); });
    EXPECT_EQ(Tool(2).Programmed, 0);
    World.Messages.Expect("Save programmed data?", MessageResult::Yes);
    Edit(World.Settings().NewButton, [this] { E().close(); });
    EXPECT_EQ(Tool(2).Programmed, 1);
    EXPECT_FLOAT_EQ(Tool(2).Angle, 120.0F);
    EXPECT_EQ(World.LineText(World.SelectedLine()).substr(0, 4), " 002");
}

TEST_F(ToolEditorTest, AnEmptyNameKeepsTheStoredOneAndNamesAreWindows1252) {
    Change(0, [this] {
        E().ToolNameField->clear();
        E().CloseButton->click();
    });
    EXPECT_EQ(Name(0), "drill");
    Change(1, [this] {
        TypeIn(E().ToolNameField, QStringLiteral("Fr\u00e4ser \u00d86 ") + QString(30, 'x'));
        E().CloseButton->click();
    });
    EXPECT_EQ(World.Config().ToolNameTable[1].Defined, 1);
    EXPECT_EQ(Name(1), "Fr\xE4ser \xD8"
                       "6 " +
                           std::string(20, 'x'))
        << "30 characters at most";
}

// A name longer than the field's 30 characters, written by another program, is neither cut
// nor taken for an edit; the limit holds for what the user types.
TEST_F(ToolEditorTest, ALongStoredNameIsKeptUntilTheUserEditsIt) {
    const std::string forty = "abcdefghij0123456789ABCDEFGHIJklmnopqrst";
    World.SetTool(3, 4550, 70, 2, forty);
    Change(2, [this] { E().close(); }); // no question: nothing was edited
    Change(2, [this] { E().CloseButton->click(); });
    EXPECT_EQ(Name(3), forty);
    EXPECT_TRUE(World.Messages.History().empty());

    Change(2, [this] {
        QLineEdit* field = E().ToolNameField;
        field->setFocus(Qt::TabFocusReason);
        field->end(false);
        QTest::keyClick(field, Qt::Key_X);
        EXPECT_EQ(field->text().toStdString(), "abcdefghij0123456789ABCDEFGHIJklmnopqrst");
        TypeIn(field, QString(35, QLatin1Char('z')));
        EXPECT_EQ(field->text(), QString(30, QLatin1Char('z')));
        E().CloseButton->click();
    });
    EXPECT_EQ(Name(3), std::string(30, 'z'));
}

TEST_F(ToolEditorTest, TabLandsOnTheChosenIntensity) {
    Change(2, [this] { // tool 3, intensity Medium
        E().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&E()));
        E().ToleranceField->setFocus(Qt::TabFocusReason);
        QTest::keyClick(E().ToleranceField, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), E().IntensityGroup->Button(2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), E().CloseButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), E().IntensityGroup->Button(2));
        E().CancelButton->click();
    });
    EXPECT_EQ(Tool(3).Intensity, 2);
}

TEST_F(ToolEditorTest, AChangedNumberStoresUnderTheNewOne) {
    Change(2, [this] {
        E().ToolNumberBox->setFocus();
        QTest::keyClicks(E().ToolNumberBox, "7");
        EXPECT_TRUE(E().ToolNumberProposal->isHidden());
        EXPECT_EQ(E().ToolNumberInForce(), 7);
        E().CloseButton->click();
    });
    EXPECT_EQ(Tool(7).Programmed, 1);
    EXPECT_FLOAT_EQ(Tool(7).Angle, 45.5F);
    EXPECT_EQ(Name(7), "mill");
    EXPECT_EQ(Tool(3).Programmed, 1) << "the tool it was opened on keeps its values";
    EXPECT_EQ(World.Settings().ToolEdit.EditTool, 7);
    EXPECT_EQ(World.LineText(World.SelectedLine()).substr(0, 4), " 007");
}

TEST_F(ToolEditorTest, ADoubleClickOnAnEmptyListStartsFromThePreviousPreset) {
    Change(2, [this] { E().CancelButton->click(); });
    for (int i = 0; i < 3; ++i) {
        World.Settings().DeleteButton->click();
    }
    ASSERT_EQ(World.Settings().ToolList->count(), 0);
    World.WhenEditorOpens([this] {
        EXPECT_EQ(E().windowTitle(), "Setting New Tool");
        EXPECT_EQ(E().ToolNumberProposal->text(), "0");
        EXPECT_EQ(E().AngleField->text(), "45.50");
        E().CloseButton->click();
    });
    QTest::mouseDClick(World.Settings().ToolList->viewport(), Qt::LeftButton);
    EXPECT_EQ(World.LineText(0).substr(0, 4), " 000");
    EXPECT_EQ(World.SelectedLine(), 0);
    EXPECT_TRUE(World.Settings().DeleteButton->isEnabled());
}

TEST_F(ToolEditorTest, TeachPutsTheMeasuredAngleIntoTheField) {
    World.Core->BuiltInUnit.SetSpeed(200000);
    World.Core->BuiltInUnit.SetObjectAngle(8765);
    Change(2, [this] {
        E().TeachButton->click();
        EXPECT_EQ(World.Core->Display.TeachTarget, 3 + 4096);
        QTRY_COMPARE_WITH_TIMEOUT(E().AngleField->text(), QStringLiteral("87.65"), 5000);
        EXPECT_FLOAT_EQ(Tool(3).Angle, 45.5F) << "nothing is stored before Ok";
        E().CloseButton->click();
    });
    EXPECT_FLOAT_EQ(Tool(3).Angle, 87.65F);
    const auto requests = World.Core->BuiltInUnit.RequestsReceived();
    const auto teach = std::find_if(requests.begin(), requests.end(),
                                    [](const DeviceRequest& r) { return r[1] == 0x02; });
    ASSERT_NE(teach, requests.end());
    EXPECT_EQ(*teach, (DeviceRequest{0, 0x02, 1, 30, 0xE0, 0x2E}));
}

} // namespace
} // namespace vg
