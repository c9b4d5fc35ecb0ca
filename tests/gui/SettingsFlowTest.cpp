#include "gui/MainWindow.h"
#include "gui/SourceChooser.h"
#include "gui/TransferActions.h"
#include "support/ChooserScript.h"
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

    SettingsWindow& S() { return World.Settings(); }

    // File > Open through the chooser's `button`; `inside` runs in the settings window and
    // closes it.
    void OpenWith(QPushButton* SourceChooser::*button, const std::function<void()>& inside) {
        // the unit counts as answering after a few ticks of the poll
        if (button == &SourceChooser::UnitButton) {
            QTRY_VERIFY_WITH_TIMEOUT(World.W().Main->UnitAnswers(), 5000);
        }
        test::WhenChooserOpens([this, button, inside](SourceChooser& chooser) {
            test::WhenWindowOpens(&S(), inside, 20000);
            (chooser.*button)->click();
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
    OpenWith(&SourceChooser::UnitButton, [this] {
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
    OpenWith(&SourceChooser::UnitButton, [this, file] {
        S().MonitoringGroup->Button(0)->click();
        World.Files.Answer(QString::fromStdString(file));
        World.Messages.Expect("File save successfull!");
        test::ClickInChooser(&SourceChooser::FileButton);
        S().SaveAsButton->click();
        EXPECT_EQ(S().windowTitle(), "VG-Config / Settings / VGL_00001234.CD");
        S().CloseButton->click();
    });
    World.Config().ConfigImage = {};
    World.Files.Answer(QString::fromStdString(file));
    OpenWith(&SourceChooser::FileButton, [this] {
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
