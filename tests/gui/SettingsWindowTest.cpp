#include "gui/MainWindow.h"
#include "gui/RadioGroup.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "gui/TransferActions.h"
#include "support/ChooserScript.h"
#include "support/SettingsWorld.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace vg {
namespace {

const char* const GlobalsQuestion =
    "The changed global settings must be saved to Vigilo to activate them!\n"
    "Would you save it now?\n\n"
    "Yes:       Save the data and stay in this \"Tool Settings\"-sheet\n"
    "No:        Go back to the \"Global Settings\"-sheet\n"
    "Cancel:  Go back to the \"Global Settings\"-sheet and discard the changes\n";

class SettingsWindowTest : public ::testing::Test {
protected:
    SettingsWindowTest() {
        World.Start();
        World.SetUnitSettings();
    }
    ~SettingsWindowTest() override { World.Settings().hide(); }

    SettingsWindow& S() { return World.Settings(); }
    ConfigImage& Image() { return World.Config().ConfigImage; }
    // A configuration of the in-process fieldbus unit, uploaded as File > Open does it.
    void UploadFromUnit() {
        World.Config().ConfigSource = ConfigSource::Unit;
        ASSERT_TRUE(LoadConfigurationFromUnit(*World.Context));
    }
    // The unit commands (Start, Teach) that reached the unit, in order.
    std::vector<DeviceRequest> Commands() {
        std::vector<DeviceRequest> commands;
        for (const DeviceRequest& r : World.Core->BuiltInUnit.RequestsReceived()) {
            if (r[1] == RequestCode::Start || r[1] == RequestCode::Teach) {
                commands.push_back(r);
            }
        }
        return commands;
    }
    void ShowPage(int page) { S().PageTabs->setCurrentIndex(page); }

    test::SettingsWorld World;
};

TEST_F(SettingsWindowTest, OpeningFillsThePagesFromTheImage) {
    World.Config().VersionValid = true;
    World.Config().FirmwareInfo = {4, 8, 24, 4, 4, 1};
    World.Config().ToolCapacity = 128;
    Image().OutPulseTime = 250;
    World.SetTool(5, 16000, 100, 1, "drill");
    World.Loaded(ConfigSource::Unit);
    World.Open();
    EXPECT_EQ(S().windowTitle(), "VG-Config / Settings / Vigilo");
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::GlobalPage);
    EXPECT_EQ(S().FirmwareVersionField->text(), "V1.04  24/08/04");
    EXPECT_EQ(S().ToolCountLabel->text(), "128");
    EXPECT_EQ(S().RotationDirectionLabel->text(), "Clockwise");
    EXPECT_EQ(S().ScannerLabel->text(), "RZ41");
    EXPECT_EQ(S().ScannerBox->currentText(), "RZ41");
    EXPECT_TRUE(S().PulseTimeGroup->Button(1)->isChecked());
    EXPECT_EQ(S().PulseTimeField->text(), "250");
    EXPECT_EQ(S().DefaultAngleField->text(), "120.00");
    EXPECT_EQ(S().DefaultToleranceField->text(), "3.00");
    EXPECT_EQ(S().DefaultIntensityGroup->ItemIndex(), 1);
    EXPECT_EQ(World.LineText(0), " 005   160.00   1.00    1    drill");
    EXPECT_EQ(World.SelectedLine(), 0);
    EXPECT_FALSE(S().AngleFromTableButton->isChecked() || S().CurrentAngleButton->isChecked());
    EXPECT_FALSE(S().TargetAngleField->isEnabled());
    EXPECT_EQ(World.Context->LiveStatus.Target(), S().StatusBar);
    // as wide as the main window, so both bars are scaled alike
    EXPECT_EQ(S().width(), World.W().Main->width());
    EXPECT_EQ(S().StatusBar->PanelWidth(0), World.W().Main->StatusBar->PanelWidth(0));
}

TEST_F(SettingsWindowTest, ToolButtonsFollowTheListAndTheSource) {
    for (int i = 0; i < 128; ++i) {
        World.SetTool(i, 1000, 100, 1);
    }
    World.Loaded(ConfigSource::Unit);
    World.Open();
    EXPECT_FALSE(S().NewButton->isEnabled());
    EXPECT_TRUE(S().ChangeButton->isEnabled() && S().TeachButton->isEnabled());
    // nothing measured yet (-1) shows 0, and Start sends 0, never 0xFFFF
    World.Core->Display.MeasuredAngle = -1;
    S().CurrentAngleButton->click();
    EXPECT_EQ(S().TargetAngleField->text(), "0.00");
    EXPECT_EQ(MessageWord(S().BuildMoveRequest(RequestCode::Start)), 0);
    S().AngleFromTableButton->click();
    EXPECT_EQ(S().TargetAngleField->text(), "10.00");
    S().hide();

    for (auto& tool : Image().Tools) {
        tool.Programmed = 0;
    }
    World.Loaded(ConfigSource::Unit);
    World.Open();
    EXPECT_TRUE(S().NewButton->isEnabled());
    for (QPushButton* b : {S().ChangeButton, S().DeleteButton, S().TeachButton, S().StartButton}) {
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    }
    EXPECT_EQ(S().TargetAngleField->text(), "0.00");
    S().hide();

    World.SetTool(3, 4550, 100, 1);
    World.Loaded(ConfigSource::File, World.DataFile("VGL_00001234.CD"));
    World.Open();
    EXPECT_FALSE(S().TeachButton->isEnabled() || S().StartButton->isEnabled());
    EXPECT_FALSE(S().AngleFromTableButton->isEnabled() || S().CurrentAngleButton->isEnabled());
    EXPECT_TRUE(S().AngleFromTableButton->isChecked());
    EXPECT_EQ(S().TargetAngleField->Value(), 0.0);
}

TEST_F(SettingsWindowTest, DeleteSelectsTheNextLineOrTheNewLast) {
    for (int nr : {1, 2, 5, 17, 42}) {
        World.SetTool(nr, 1000 + nr, 100, 1, std::string("t").append(std::to_string(nr)));
    }
    World.Loaded(ConfigSource::Unit);
    World.Open();
    S().ToolList->setCurrentRow(4);
    S().DeleteButton->click();
    EXPECT_EQ(S().ToolList->count(), 4);
    EXPECT_EQ(World.SelectedLine(), 3);
    EXPECT_EQ(Image().Tools[42].Programmed, 0);
    EXPECT_EQ(World.Config().ToolNameTable[42].Defined, 0);
    EXPECT_FLOAT_EQ(Image().Tools[42].Angle, 10.42F) << "only the flags are cleared";

    S().ToolList->setCurrentRow(0);
    S().DeleteButton->click();
    EXPECT_EQ(World.SelectedLine(), 0);
    EXPECT_EQ(World.LineText(0).substr(0, 4), " 002");
}

TEST_F(SettingsWindowTest, AScannerOutsideTheModelsShowsNoneAndIsSavedAsZero) {
    const std::string file = World.DataFile("VGL_00001234.CD");
    for (int scanner : {0, 3}) {
        Image().Scanner = scanner;
        World.Loaded(ConfigSource::File, file);
        World.Open();
        EXPECT_EQ(S().ScannerBox->currentIndex(), -1);
        EXPECT_EQ(S().ScannerLabel->text(), "Unknown");
        if (scanner == 3) {
            World.Messages.Expect("File save successfull!");
        }
        S().SaveButton->click();
        EXPECT_EQ(Image().Scanner, 0);
        // 0 reads back unchanged: nothing to save, nothing written
        EXPECT_EQ(std::filesystem::exists(file), scanner == 3);
        S().hide();
    }
}

TEST_F(SettingsWindowTest, StaticOutputsShowZeroAndPulseTimeComesBack) {
    Image().OutPulseTime = 0;
    World.Loaded(ConfigSource::Unit);
    World.Open();
    RadioGroup& pulse = *S().PulseTimeGroup;
    EXPECT_TRUE(pulse.Button(0)->isChecked());
    EXPECT_FALSE(S().PulseTimeField->isEnabled());
    EXPECT_EQ(S().PulseTimeField->text(), "0");
    pulse.Button(1)->click();
    EXPECT_TRUE(S().PulseTimeField->isEnabled());
    EXPECT_EQ(S().PulseTimeField->text(), "20");
    test::SettingsWorld::Type(S().PulseTimeField, "250", pulse.Button(1));
    pulse.Button(0)->click();
    EXPECT_EQ(S().PulseTimeField->text(), "0");
    EXPECT_EQ(Image().OutPulseTime, 0) << "the image changes only when the pages are read";
    pulse.Button(1)->click();
    EXPECT_EQ(S().PulseTimeField->text(), "250");
}

TEST_F(SettingsWindowTest, NumberFieldsClampWhenLeftAndBeforeTheyAreRead) {
    World.Loaded(ConfigSource::File, World.DataFile("VGL_00001234.CD"));
    World.Open();
    test::SettingsWorld::Type(S().PulseTimeField, "10000", S().ScannerBox);
    EXPECT_EQ(S().PulseTimeField->text(), "5000");
    ShowPage(SettingsWindow::DefaultPage);
    test::SettingsWorld::Type(S().DefaultAngleField, "5", S().DefaultToleranceField);
    EXPECT_EQ(S().DefaultAngleField->text(), "10.00");
    // still in the field when the window closes: clamped all the same
    S().DefaultToleranceField->selectAll();
    QTest::keyClicks(S().DefaultToleranceField, "30");
    World.Messages.Expect("Save programmed data?", MessageResult::Yes);
    World.Messages.Expect("File save successfull!");
    S().CloseButton->click();
    EXPECT_FALSE(S().isVisible());
    EXPECT_EQ(World.Config().SavedImage.OutPulseTime, 5000);
    EXPECT_EQ(World.Config().SavedImage.DefaultAngle, 1000);
    EXPECT_EQ(World.Config().SavedImage.DefaultTolerance, 2550);
}

TEST_F(SettingsWindowTest, SaveWithoutChangesDoesNothingWhileSaveAsAlwaysSaves) {
    World.Loaded(ConfigSource::Unit);
    World.Config().NamespaceIdValid = true;
    World.Config().NamespaceInfo.CU_Id = {'0', '0', '0', '0', '1', '2', '3', '4'};
    World.Open();
    S().SaveButton->click();
    EXPECT_TRUE(World.Messages.History().empty());

    const std::string file = World.DataFile("VGL_00001234.CD");
    World.Files.Answer(QString::fromStdString(file));
    World.Messages.Expect("File save successfull!");
    test::ClickInChooser(&SourceChooser::FileButton);
    S().SaveAsButton->click();
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(World.Config().ConfigSource, ConfigSource::File);
    EXPECT_EQ(S().windowTitle(), "VG-Config / Settings / VGL_00001234.CD");
    EXPECT_FALSE(S().StartButton->isEnabled());
}

TEST_F(SettingsWindowTest, SaveAsCancelledKeepsSourceFileAndIdentifier) {
    World.SetTool(1, 1000, 100, 1);
    World.Loaded(ConfigSource::Unit, World.DataFile("VGL_00000001.CD"));
    World.Config().NamespaceIdValid = true;
    World.Open();
    // a refused name, then the file dialog cancelled
    World.Files.Answer(QStringLiteral("/tmp/wrong.CD"));
    World.Files.Answer(std::nullopt);
    World.Messages.Expect("Please enter filename in the following format: \"VGL_iiiiiiii\"");
    test::ClickInChooser(&SourceChooser::FileButton);
    S().SaveAsButton->click();
    EXPECT_EQ(World.Config().ConfigSource, ConfigSource::Unit);
    EXPECT_EQ(World.Config().ConfigFileName, World.DataFile("VGL_00000001.CD"));
    EXPECT_TRUE(World.Config().NamespaceIdValid);
    EXPECT_TRUE(S().StartButton->isEnabled());
}

TEST_F(SettingsWindowTest, StartAndTeachSendWhatTheUnitExpects) {
    World.SetTool(1, 230, 70, 2);   // as uploaded: 0.70 from 7 tenths
    World.SetTool(2, 12000, 75, 3); // 0.75 as the editor stores it
    World.SetTool(3, 100, 100, 0);
    World.Loaded(ConfigSource::Unit);
    World.Open();
    S().AngleFromTableButton->click();
    // a fieldbus command reaches the unit with the next exchange, the poll's
    for (size_t line = 0; line < 3; ++line) {
        S().ToolList->setCurrentRow(static_cast<int>(line));
        S().StartButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(Commands().size(), line + 1, 5000);
    }
    const std::vector<DeviceRequest> starts = {{0, RequestCode::Start, 2, 7, 230, 0},
                                               {0, RequestCode::Start, 3, 7, 0xE0, 0x2E}, // 12000
                                               {0, RequestCode::Start, 0, 10, 100, 0}};
    EXPECT_EQ(Commands(), starts);

    // Teach takes the defaults of the image, not the unsaved page.
    ShowPage(SettingsWindow::DefaultPage);
    test::SettingsWorld::Type(S().DefaultAngleField, "99", S().DefaultToleranceField);
    S().ToolList->setCurrentRow(1);
    S().TeachButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(Commands().size(), size_t{4}, 5000);
    EXPECT_EQ(Commands()[3], (DeviceRequest{0, RequestCode::Teach, 1, 30, 0xE0, 0x2E}));
    EXPECT_EQ(World.Core->Display.TeachTarget, 2);
}

TEST_F(SettingsWindowTest, ATeachReportedByThePollUpdatesTheLineAndTheTarget) {
    World.Core->BuiltInUnit.SetSpeed(200000);
    World.Core->BuiltInUnit.SetObjectAngle(6543);
    World.SetTool(4, 1000, 100, 1);
    World.SetTool(9, 2000, 100, 1);
    World.Loaded(ConfigSource::Unit);
    World.Open();
    S().AngleFromTableButton->click();
    S().ToolList->setCurrentRow(1);
    S().TeachButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(World.LineText(1), std::string(" 009    65.43   1.00    1    "),
                              5000);
    EXPECT_EQ(World.SelectedLine(), 1);
    EXPECT_EQ(S().TargetAngleField->text(), "65.43");

    // the live angle while "Measured  Angle" is chosen
    S().CurrentAngleButton->click();
    World.Core->BuiltInUnit.HandleRequest({0, RequestCode::GoToPosition, 0, 0, 0x28, 0x23});
    QTRY_COMPARE_WITH_TIMEOUT(S().TargetAngleField->text(), QStringLiteral("90.00"), 5000);
}

class GlobalsQuestionTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        World.Core->BuiltInUnit.SetTool(1, {true, 1000, 10, 1});
        UploadFromUnit();
        World.Open();
        // an unsaved tool edit and a changed rotation direction
        Image().Tools[7] = {1, 50.0F, 1.0F, 1};
        BuildToolLines(World.Config());
        S().RotationDirectionGroup->Button(0)->click();
    }
    // Switches to the tool page, answering the question and then expecting `then`.
    void Answer(MessageResult answer, const char* then = nullptr) {
        World.Messages.Expect(GlobalsQuestion, answer);
        if (then != nullptr) {
            World.Messages.Expect(then);
        }
        ShowPage(SettingsWindow::ToolPage);
    }
};

TEST_F(GlobalsQuestionTest, YesSavesToTheUnitAndStays) {
    Answer(MessageResult::Yes, "Save Data to VGL successfull!");
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::ToolPage);
    EXPECT_EQ(World.Core->BuiltInUnit.Parameter(4), 0);
    EXPECT_TRUE(World.Core->BuiltInUnit.Tool(7).Programmed);
    EXPECT_FALSE(DiffersFromSnapshots(World.Config()));
    EXPECT_EQ(S().RotationDirectionLabel->text(), "CounterClw.");
}

TEST_F(GlobalsQuestionTest, YesWithAFailingSaveGoesBackAndKeepsTheEdits) {
    sim::SimFaults faults;
    faults.RefuseWrite = true;
    World.Core->BuiltInUnit.SetFaults(faults);
    Answer(MessageResult::Yes, "Write Error from VGL");
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::GlobalPage);
    EXPECT_EQ(Image().RotDir, 1) << "the settings come back from the snapshot";
    EXPECT_EQ(Image().Tools[7].Programmed, 1) << "the tool edit is not lost";
    EXPECT_TRUE(S().RotationDirectionGroup->Button(0)->isChecked());
    // the next switch asks again
    Answer(MessageResult::No);
}

TEST_F(GlobalsQuestionTest, NoGoesBackWithTheEditsUnsaved) {
    Answer(MessageResult::No);
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::GlobalPage);
    EXPECT_TRUE(S().RotationDirectionGroup->Button(0)->isChecked());
    EXPECT_EQ(World.Core->BuiltInUnit.Parameter(4), 1);
}

TEST_F(GlobalsQuestionTest, CancelGoesBackAndResetsOnlyTheGlobalPage) {
    ShowPage(SettingsWindow::DefaultPage);
    test::SettingsWorld::Type(S().DefaultAngleField, "99", S().DefaultToleranceField);
    Answer(MessageResult::Cancel);
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::DefaultPage);
    EXPECT_TRUE(S().RotationDirectionGroup->Button(1)->isChecked());
    EXPECT_EQ(S().DefaultAngleField->text(), "99.00");
}

TEST_F(SettingsWindowTest, NoQuestionForAFileOrForUnchangedGlobals) {
    World.Loaded(ConfigSource::Unit);
    World.Open();
    ShowPage(SettingsWindow::ToolPage);
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::ToolPage);
    S().hide();
    World.Loaded(ConfigSource::File, World.DataFile("VGL_00001234.CD"));
    World.Open();
    ShowPage(SettingsWindow::GlobalPage);
    S().MonitoringGroup->Button(0)->click();
    ShowPage(SettingsWindow::ToolPage);
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::ToolPage);
}

class CloseQuestionTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        World.SetTool(2, 1000, 100, 1);
        World.Loaded(ConfigSource::File, World.DataFile("VGL_00001234.CD"));
        World.Config().NamespaceIdValid = true;
        World.Open();
        Image().Tools[7] = {1, 50.0F, 1.0F, 1};
        BuildToolLines(World.Config());
        S().SignalModeGroup->Button(0)->click();
    }
    void CloseBox(MessageResult answer, const char* then = nullptr) {
        World.Messages.Expect("Save programmed data?", answer);
        if (then != nullptr) {
            World.Messages.Expect(then);
        }
        S().close();
    }
    // A file that cannot be written: its directory is gone.
    void MakeSavesFail() {
        World.Config().ConfigFileName = (World.Dir / "gone" / "VGL_00001234.CD").string();
    }
};

TEST_F(CloseQuestionTest, YesSavesAndCloses) {
    CloseBox(MessageResult::Yes, "File save successfull!");
    EXPECT_FALSE(S().isVisible());
    EXPECT_FALSE(World.Config().NamespaceIdValid);
    EXPECT_FALSE(DiffersFromSnapshots(World.Config()));
    EXPECT_TRUE(std::filesystem::exists(World.DataFile("VGL_00001234.CD")));
}

TEST_F(CloseQuestionTest, YesWithAFailingSaveStaysOpenWithTheSettingsRestored) {
    MakeSavesFail();
    // The system's reason follows on a line of its own.
    const std::string text =
        "File Write Error!\n" + World.Config().ConfigFileName + ": No such file or directory";
    CloseBox(MessageResult::Yes, text.c_str());
    EXPECT_TRUE(S().isVisible());
    EXPECT_TRUE(World.Config().NamespaceIdValid);
    EXPECT_EQ(Image().SignalMode, 1);
    EXPECT_EQ(Image().Tools[7].Programmed, 1);
    EXPECT_TRUE(S().SignalModeGroup->Button(0)->isChecked());
}

TEST_F(CloseQuestionTest, NoClosesWithTheEditsInTheImage) {
    World.Messages.Expect("Save programmed data?", MessageResult::No);
    S().CloseButton->click();
    EXPECT_FALSE(S().isVisible());
    EXPECT_EQ(Image().SignalMode, 0);
    EXPECT_TRUE(DiffersFromSnapshots(World.Config()));
    EXPECT_FALSE(std::filesystem::exists(World.DataFile("VGL_00001234.CD")));
}

TEST_F(CloseQuestionTest, CancelStaysOpenWithTheSettingsRestored) {
    CloseBox(MessageResult::Cancel);
    EXPECT_TRUE(S().isVisible());
    EXPECT_EQ(Image().SignalMode, 1);
    EXPECT_EQ(Image().Tools[7].Programmed, 1);
    // the page still holds the edit: closing asks again
    CloseBox(MessageResult::No);
    EXPECT_FALSE(S().isVisible());
}

TEST_F(SettingsWindowTest, OnlyOpeningRefillsTheWindow) {
    World.SetTool(2, 1000, 100, 1);
    World.Loaded(ConfigSource::Unit);
    World.Config().NamespaceIdValid = true;
    World.Open();
    ShowPage(SettingsWindow::DefaultPage);
    test::SettingsWorld::Type(S().DefaultAngleField, "99", S().DefaultToleranceField);
    // back from the editor: the page keeps its edit, the snapshots stay
    World.WhenEditorOpens([this] { World.Editor().CloseButton->click(); });
    S().NewButton->click();
    EXPECT_EQ(S().DefaultAngleField->text(), "99.00");
    EXPECT_TRUE(DiffersFromSnapshots(World.Config()));
    // after a save only the status bar and the caption are taken up again
    World.Context->LiveStatus.ShowOn(World.W().Main->StatusBar);
    World.Config().ConfigSource = ConfigSource::File;
    World.Config().ConfigFileName = World.DataFile("VGL_00004321.CD");
    World.Messages.Expect("File save successfull!");
    S().SaveButton->click();
    EXPECT_EQ(World.Context->LiveStatus.Target(), S().StatusBar);
    EXPECT_EQ(S().windowTitle(), "VG-Config / Settings / VGL_00004321.CD");
    EXPECT_EQ(S().DefaultAngleField->text(), "99.00");
    // the page and the target source stay for the next opening
    S().CurrentAngleButton->click();
    S().CloseButton->click();
    EXPECT_FALSE(World.Config().NamespaceIdValid);
    World.Open();
    EXPECT_EQ(S().PageTabs->currentIndex(), SettingsWindow::DefaultPage);
    EXPECT_TRUE(S().CurrentAngleButton->isChecked());
}

TEST_F(SettingsWindowTest, F1ShowsTheTopicOfThePageInFront) {
    World.Loaded(ConfigSource::Unit);
    World.Open();
    for (auto [page, topic] : {std::pair{0, 6}, {1, 7}, {2, 5}}) {
        ShowPage(page);
        QTest::keyClick(&S(), Qt::Key_F1);
        EXPECT_EQ(World.Help.ShownTopic(), topic);
        World.Help.hide();
        S().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&S()));
    }
}

TEST_F(SettingsWindowTest, NumberFieldsFollowACommaLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    World.SetTool(1, 230, 70, 2);
    World.Loaded(ConfigSource::Unit);
    World.Open();
    EXPECT_EQ(S().DefaultAngleField->text(), "120,00");
    EXPECT_EQ(S().DefaultToleranceField->text(), "3,00");
    ShowPage(SettingsWindow::DefaultPage);
    test::SettingsWorld::Type(S().DefaultAngleField, "45,67", S().DefaultToleranceField);
    test::SettingsWorld::Type(S().DefaultToleranceField, "0,7", S().DefaultAngleField);
    S().AngleFromTableButton->click();
    EXPECT_EQ(S().TargetAngleField->text(), "2,30");
    S().StartButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(Commands().size(), size_t{1}, 5000);
    World.Messages.Expect("Save programmed data?", MessageResult::No);
    S().CloseButton->click();
    QLocale::setDefault(saved);
    EXPECT_EQ(Image().DefaultAngle, 4567);
    EXPECT_EQ(Image().DefaultTolerance, 70);
    EXPECT_EQ(World.LineText(0), " 001     2.30   0.70    2    ") << "tool lines keep the point";
    EXPECT_EQ(MessageWord(Commands().at(0)), 230);
}

} // namespace
} // namespace vg
