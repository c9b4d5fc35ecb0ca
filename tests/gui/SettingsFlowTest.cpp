#include "gui/MainWindow.h"
#include "gui/SourceChooser.h"
#include "gui/TransferActions.h"
#include "support/SettingsWorld.h"
#include "support/SimProcess.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace vg {
namespace {

// The program on the serial line, its COM1 the simulated unit's terminal.
class SettingsFlowTest : public ::testing::Test {
protected:
    SettingsFlowTest() {
        World.Start();
        World.W().Main->show();
    }
    ~SettingsFlowTest() override { World.W().Main->hide(); }

    SourceChooser& Chooser() { return *World.W().Chooser; }
    SettingsWindow& S() { return World.Settings(); }

    // File > Open through the chooser's `button`; `inside` runs in the settings window and
    // closes it.
    void OpenWith(QPushButton* button, const std::function<void()>& inside) {
        // the unit counts as answering after a few ticks of the poll
        if (button == Chooser().UnitButton) {
            QTRY_VERIFY_WITH_TIMEOUT(Chooser().UnitButton->isEnabled(), 5000);
        }
        test::WhenWindowOpens(&Chooser(), [this, button, inside] {
            test::WhenWindowOpens(&S(), inside, 20000);
            button->click();
        });
        World.W().Main->OpenAction->trigger();
        EXPECT_FALSE(S().isVisible());
    }
    int LineOf(int tool) { return World.Config().ToolLineIndex[static_cast<size_t>(tool)]; }

    test::SettingsWorld World{"A:50\r\nC:1\r\nM:2\r\n"};
    test::SimProcess Sim{{"--link", (World.Dir / "COM1").string(), "--variant", "4", "--cu-id",
                          "00001234", "--tool", "5:160.00:1.0:1", "--tool", "17:1.15:0.7:0"}};
};

TEST_F(SettingsFlowTest, AToolEditedAndSavedReachesTheUnit) {
    OpenWith(Chooser().UnitButton, [this] {
        EXPECT_EQ(S().windowTitle(), "VG-Config / Settings / Vigilo");
        EXPECT_EQ(World.LineText(1), " 017     1.15   0.70    0    ");
        S().ToolList->setCurrentRow(LineOf(5));
        World.WhenEditorOpens([this] {
            World.Editor().AngleField->setFocus();
            World.Editor().AngleField->selectAll();
            QTest::keyClicks(World.Editor().AngleField, "170.55");
            QTest::keyClicks(World.Editor().ToolNameField, "drill");
            World.Editor().CloseButton->click();
        });
        S().ChangeButton->click();
        World.Messages.Expect("Save Data to VGL successfull!");
        S().SaveButton->click();
        S().CloseButton->click();
    });
    // read back from the unit: the tool and, under its identifier, the name
    ConfigState& config = World.Config();
    config.ConfigImage.Tools[5] = {};
    config.ToolNameTable = {};
    ASSERT_TRUE(LoadConfigurationFromUnit(*World.Context));
    EXPECT_EQ(config.ToolLines.at(static_cast<size_t>(LineOf(5))),
              " 005   170.55   1.00    1    drill");
}

TEST_F(SettingsFlowTest, SaveAsToAFileAndLoadItBack) {
    const std::string file = World.DataFile("VGL_00001234.CD");
    OpenWith(Chooser().UnitButton, [this, file] {
        S().MonitoringGroup->Button(0)->click();
        World.Files.Answer(QString::fromStdString(file));
        World.Messages.Expect("File save successfull!");
        test::WhenWindowOpens(&Chooser(), [this] { Chooser().FileButton->click(); });
        S().SaveAsButton->click();
        EXPECT_EQ(S().windowTitle(), "VG-Config / Settings / VGL_00001234.CD");
        S().CloseButton->click();
    });
    World.Config().ConfigImage = {};
    World.Files.Answer(QString::fromStdString(file));
    OpenWith(Chooser().FileButton, [this] {
        EXPECT_EQ(S().windowTitle(), "VG-Config / Settings / VGL_00001234.CD");
        EXPECT_EQ(S().ToolList->count(), 2);
        EXPECT_EQ(World.LineText(0), " 005   160.00   1.00    1    ");
        EXPECT_TRUE(S().MonitoringGroup->Button(0)->isChecked());
        EXPECT_FALSE(S().StartButton->isEnabled());
        S().CloseButton->click();
    });
}

} // namespace
} // namespace vg
