#include "gui/MonitorWindow.h"

#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/ManualWindow.h"
#include "gui/StatusBarWidget.h"
#include "gui/StatusDisplay.h"
#include "support/GuiWorld.h"
#include "support/ModalScript.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>

namespace vg {
namespace {

const QColor Green(0x80, 0xFF, 0x80);
const QColor Red(0xFF, 0, 0);
const QColor Silver(0xC0, 0xC0, 0xC0);

// The colour a user sees in the middle of a widget.
QColor ShownColour(QWidget* widget) {
    return widget->grab().toImage().pixelColor(widget->width() / 2, widget->height() / 2);
}

DeviceRequest Motion(uint8_t code, uint16_t hundredths, uint8_t toleranceTenths = 0) {
    DeviceRequest request{0, code, 0, toleranceTenths, 0, 0};
    SetMessageWord(request, hundredths);
    return request;
}

// Monitor Mode against the built-in unit on the fieldbus, opened from the main menu. The
// test ticks the poll itself: the main window's timer is stopped.
class MonitorWindowTest : public ::testing::Test {
protected:
    MonitorWindowTest() {
        for (int toolNr = 0; toolNr < ToolSlotCount; ++toolNr) {
            Unit().SetTool(toolNr, {}); // not the demonstration tools
        }
        Unit().SetTool(5, {true, 4500, 15, 2});
        Unit().SetTool(7, {true, 12050, 30, 0});
        Unit().SetTool(9, {true, 30000, 5, 3});
        WriteToolName(5, "Bohrer \xD8"
                         "5");
        World.Start();
        Main().PollTimer->stop();
        NextRecord();
    }

    MainWindow& Main() { return *World.W().Main; }
    MonitorWindow& Monitor() { return *World.W().Monitor; }
    sim::SimUnit& Unit() { return World.Core->BuiltInUnit; }
    PollState& Poll() { return World.Core->Poll; }
    QColor ButtonFace() { return Monitor().palette().color(QPalette::Button); }

    void WriteToolName(int toolNr, const char* name) {
        ToolNameTable names{};
        names[static_cast<size_t>(toolNr)].Defined = 1;
        std::strcpy(names[static_cast<size_t>(toolNr)].Name.data(), name);
        std::ofstream(World.Dir / "CD_DATA" / "VGL_00001234.NS", std::ios::binary)
            .write(reinterpret_cast<const char*>(names.data()), sizeof names);
    }

    // One timer event at a time until the poll has processed the next status record.
    void NextRecord() {
        const auto before = World.Core->Status.RecordsProcessed();
        for (int i = 0; i < 4 && World.Core->Status.RecordsProcessed() == before; ++i) {
            World.Core->Status.Tick();
        }
        ASSERT_GT(World.Core->Status.RecordsProcessed(), before) << "no record processed";
    }
    // The window asks for the two kinds in turn.
    void RecordOfKind(int kind) {
        if (Poll().StatusKind != kind) {
            NextRecord();
        }
        NextRecord();
    }

    // Moves the scanner at once, as the machine would, and waits (bounded) until it is there.
    void Arrive(const DeviceRequest& motion) {
        Unit().SetSpeed(std::numeric_limits<uint32_t>::max());
        Unit().HandleRequest(motion);
        const auto moving = [this] {
            return (Unit().StatusRecord(0)[1] & StateBit::Scanning) != 0;
        };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (moving() && std::chrono::steady_clock::now() < deadline) {
        }
        ASSERT_FALSE(moving()) << "the scanner did not arrive";
    }

    // Chooses Monitor Mode; `script` runs while the window is open.
    void Open(std::function<void()> script) {
        test::RunWhileModal(&Monitor(), std::move(script));
        ASSERT_TRUE(Main().MonitorModeAction->isEnabled());
        Main().MonitorModeAction->trigger();
    }

    int SelectedLine() { return SelectedToolLine(*Monitor().ToolList); }
    QString SelectedText() {
        const int line = SelectedLine();
        return line < 0 ? QString() : Monitor().ToolList->item(line)->text();
    }
    std::vector<QString> CurrentToolBox() {
        const MonitorWindow& m = Monitor();
        return {m.ToolNumberValue->text(), m.TargetAngleValue->text(), m.ToleranceValue->text(),
                m.IntensityValue->text(), m.NameValue->text()};
    }

    test::GuiWorld World;
};

using Box = std::vector<QString>;

TEST_F(MonitorWindowTest, OpensInPlaceOfTheMainWindowWithPlaceholdersAndTheFreshTable) {
    Open([this] {
        MonitorWindow& m = Monitor();
        EXPECT_EQ(m.size(), QSize(632, 434));
        EXPECT_FALSE(Main().isVisible());
        EXPECT_EQ(World.Context->FrontWindow, WindowInFront::Monitor);
        EXPECT_EQ(World.Context->LiveStatus.Target(), nullptr);
        // Nothing has been reported in this window yet.
        EXPECT_EQ(CurrentToolBox(), Box(5, "12"));
        EXPECT_EQ(m.ActualToolValue->text(), "12");
        EXPECT_EQ(m.MeasuredAngleValue->text(), "12");
        EXPECT_EQ(ShownColour(m.OnlineLamp), ButtonFace());
        for (QLabel* lamp : {m.Output1Lamp, m.Output2Lamp, m.ZeroPositionLamp, m.ScanningLamp}) {
            EXPECT_EQ(ShownColour(lamp), ButtonFace());
        }
        ASSERT_EQ(m.ToolList->count(), 3);
        EXPECT_EQ(SelectedText().left(4), " 005");
        EXPECT_EQ(m.ToolList->item(2)->text().left(4), " 009");
        const QFontMetrics metrics(m.ToolList->font());
        EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'))
            << "the columns need a fixed-pitch font";
        // Where the headings stand over the columns: ToolTableHeadings.
    });
}

TEST_F(MonitorWindowTest, CurrentToolBoxShowsTheToolsValuesOrDashes) {
    Unit().SetActualTool(9);
    Open([this] {
        RecordOfKind(1);
        const int lineOfTool9 = SelectedLine();
        EXPECT_EQ(SelectedText().left(4), " 009");

        Unit().SetCurrentTool(5);
        RecordOfKind(0);
        // The intensity as the number the unit keeps, the name from the tool-name file.
        EXPECT_EQ(CurrentToolBox(),
                  (Box{"5", " 45.00", "  1.50", "2", QString::fromUtf8("Bohrer Ø5")}));
        EXPECT_EQ(SelectedLine(), lineOfTool9) << "the current tool leaves the selection";

        Unit().SetCurrentTool(7);
        RecordOfKind(0);
        EXPECT_EQ(CurrentToolBox(), (Box{"7", "120.50", "  3.00", "0", ""}));

        Unit().SetCurrentTool(3); // not programmed
        RecordOfKind(0);
        EXPECT_EQ(CurrentToolBox(), (Box{"3", "- - - -", "- - - -", "- - - -", "- - - -"}));
        EXPECT_EQ(SelectedLine(), -1);

        // A number beyond the tool table.
        RecordOfKind(1);
        EXPECT_EQ(SelectedLine(), lineOfTool9);
        Unit().SetCurrentTool(200);
        RecordOfKind(0);
        EXPECT_EQ(CurrentToolBox(), (Box{"200", "- - - -", "- - - -", "- - - -", "- - - -"}));
        EXPECT_EQ(SelectedLine(), -1);
    });
}

TEST_F(MonitorWindowTest, ActualToolSelectsItsLineAndLeavesTheCurrentTool) {
    Unit().SetCurrentTool(5);
    Open([this] {
        RecordOfKind(0);
        const Box shown = CurrentToolBox();
        for (const int actual : {9, 7}) {
            Unit().SetActualTool(static_cast<uint8_t>(actual));
            RecordOfKind(1);
            EXPECT_EQ(Monitor().ActualToolValue->text(), QString::number(actual));
            EXPECT_EQ(SelectedText().left(4), QString(" 00%1").arg(actual));
        }
        // Tools without a line, in the table and beyond it.
        for (const int actual : {4, 131}) {
            Unit().SetActualTool(static_cast<uint8_t>(actual));
            RecordOfKind(1);
            EXPECT_EQ(Monitor().ActualToolValue->text(), QString::number(actual));
            EXPECT_EQ(SelectedLine(), -1);
        }
        EXPECT_EQ(CurrentToolBox(), shown);
    });
}

TEST_F(MonitorWindowTest, TheSameToolReportedAgainIsNotRedrawn) {
    Unit().SetCurrentTool(5);
    Open([this] {
        RecordOfKind(0);
        ASSERT_EQ(Monitor().TargetAngleValue->text(), " 45.00");
        // Changed behind the window's back: only a change of tool shows it.
        World.Core->Config.ConfigImage.Tools[5].Angle = 99.0f;
        RecordOfKind(0);
        RecordOfKind(0);
        EXPECT_EQ(Monitor().TargetAngleValue->text(), " 45.00");
        EXPECT_EQ(Monitor().LastShownToolNr(), 5);
        Unit().SetCurrentTool(7);
        RecordOfKind(0);
        Unit().SetCurrentTool(5);
        RecordOfKind(0);
        EXPECT_EQ(Monitor().TargetAngleValue->text(), " 99.00");
    });
}

TEST_F(MonitorWindowTest, ReopeningKeepsTheShownToolWithItsFreshlyUploadedValues) {
    Unit().SetCurrentTool(5);
    Open([this] {
        RecordOfKind(0);
        Monitor().CloseButton->click();
    });
    ASSERT_EQ(Monitor().LastShownToolNr(), 5);
    Unit().SetTool(5, {true, 5000, 15, 1}); // changed on the unit meanwhile
    NextRecord();
    Open([this] {
        // Before any record of this opening: the old tool, the new values.
        EXPECT_EQ(CurrentToolBox(),
                  (Box{"5", " 50.00", "  1.50", "1", QString::fromUtf8("Bohrer Ø5")}));
        RecordOfKind(0);
        EXPECT_EQ(CurrentToolBox()[1], " 50.00");
    });
}

TEST_F(MonitorWindowTest, MeasuredAngleFollowsTheCurrentToolsRecordsOnly) {
    Open([this] {
        Arrive(Motion(RequestCode::GoToPosition, 9000));
        RecordOfKind(0);
        EXPECT_EQ(Monitor().MeasuredAngleValue->text(), " 90.00");
        Arrive(Motion(RequestCode::GoToPosition, 4500));
        RecordOfKind(1);
        EXPECT_EQ(Monitor().MeasuredAngleValue->text(), " 90.00");
        RecordOfKind(0);
        EXPECT_EQ(Monitor().MeasuredAngleValue->text(), " 45.00");
    });
}

TEST_F(MonitorWindowTest, LampsShowOutputsZeroPositionAndScanning) {
    Open([this] {
        MonitorWindow& m = Monitor();
        RecordOfKind(0);
        EXPECT_EQ(ShownColour(m.ZeroPositionLamp), Green);
        EXPECT_EQ(ShownColour(m.ScanningLamp), ButtonFace());

        Unit().HandleRequest(Motion(RequestCode::GoToPosition, 30000)); // takes seconds
        RecordOfKind(0);
        EXPECT_EQ(ShownColour(m.ZeroPositionLamp), ButtonFace());
        EXPECT_EQ(ShownColour(m.ScanningLamp), Green);

        Arrive(Motion(RequestCode::Start, 6543, 1)); // finds the object
        RecordOfKind(0);
        EXPECT_EQ(ShownColour(m.ScanningLamp), ButtonFace());
        EXPECT_EQ(ShownColour(m.Output1Lamp), Green);
        EXPECT_EQ(ShownColour(m.Output2Lamp), ButtonFace());

        Arrive(Motion(RequestCode::Start, 20000, 1)); // misses it
        RecordOfKind(0);
        EXPECT_EQ(ShownColour(m.Output1Lamp), ButtonFace());
        EXPECT_EQ(ShownColour(m.Output2Lamp), Red);
    });
}

TEST_F(MonitorWindowTest, IndicatorBlinksWithUnchangedRecordsAndKeepsItsPictureBetween) {
    Open([this] {
        QWidget* indicator = Monitor().OnlineLamp;
        // Each kind has been seen once, so the records from here on are unchanged.
        NextRecord();
        NextRecord();
        QColor previous = ShownColour(indicator);
        int greens = 0, silvers = 0;
        for (int i = 0; i < 16; ++i) {
            NextRecord();
            const QColor now = ShownColour(indicator);
            const int counter = Poll().PollCounter;
            if (counter == Poll().PollModulus / 2) {
                EXPECT_EQ(now, Green) << "record " << i;
                ++greens;
            } else if (counter == 0) {
                EXPECT_EQ(now, Silver) << "record " << i;
                ++silvers;
            } else {
                EXPECT_EQ(now, previous) << "record " << i;
            }
            previous = now;
        }
        EXPECT_EQ(greens, 2);
        EXPECT_EQ(silvers, 2);
    });
}

TEST_F(MonitorWindowTest, UnitThatStopsAnsweringTurnsTheLampsOffAndTheIndicatorRed) {
    Unit().SetCurrentTool(5);
    Unit().SetErrorBits(0x41);
    Unit().SetObjectAngle(0);
    Open([this] {
        MonitorWindow& m = Monitor();
        Arrive(Motion(RequestCode::Start, 0, 1)); // finds the object at zero
        RecordOfKind(0);
        ASSERT_EQ(ShownColour(m.Output1Lamp), Green);
        ASSERT_EQ(ShownColour(m.ZeroPositionLamp), Green);
        EXPECT_EQ(m.MessagePanel->text(), "ERROR! Cable broken!");

        Unit().SetSilent(true);
        World.Core->Status.Tick();
        ASSERT_FALSE(Poll().Online);
        for (QLabel* lamp : {m.Output1Lamp, m.Output2Lamp, m.ZeroPositionLamp, m.ScanningLamp}) {
            EXPECT_EQ(ShownColour(lamp), ButtonFace());
        }
        EXPECT_EQ(m.MeasuredAngleValue->text(), "-----");
        EXPECT_EQ(ShownColour(m.OnlineLamp), Red);
        // What the unit said last stays.
        EXPECT_EQ(m.MessagePanel->text(), "ERROR! Cable broken!");
        EXPECT_EQ(m.ToolNumberValue->text(), "5");
    });
}

TEST_F(MonitorWindowTest, CloseButtonForgetsTheIdentifierTheCloseBoxKeepsIt) {
    Open([this] { Monitor().close(); });
    EXPECT_TRUE(World.Core->Config.NamespaceIdValid);
    Open([this] {
        RecordOfKind(0); // the next request would be of kind 1
        Monitor().CloseButton->click();
    });
    EXPECT_FALSE(World.Core->Config.NamespaceIdValid);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(World.Context->FrontWindow, WindowInFront::Main);
    EXPECT_EQ(World.Context->LiveStatus.Target(), Main().StatusBar);
    EXPECT_EQ(Poll().StatusKind, 0);
    NextRecord();
    EXPECT_EQ(Main().StatusBar->PanelText(StatusPanel::Id), "Id: --------");
}

TEST_F(MonitorWindowTest, F1OpensTheMonitorTopic) {
    Open([this] {
        Monitor().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Monitor()));
        QTest::keyClick(&Monitor(), Qt::Key_F1);
        EXPECT_TRUE(World.Help.isVisible());
        EXPECT_EQ(World.Help.ShownTopic(), HelpContext::MonitorMode);
        World.Help.close();
        Monitor().CloseButton->click();
    });
}

TEST_F(MonitorWindowTest, NothingOpensWithoutToolValues) {
    sim::SimFaults refused;
    refused.RefuseRead = true;
    Unit().SetFaults(refused);
    World.Messages.Expect("Read Error from VGL");
    World.Messages.Expect("No tool-values in VGL available!");
    Main().MonitorModeAction->trigger();
    EXPECT_TRUE(World.Messages.AllAnswered());

    Unit().SetFaults({});
    for (const int toolNr : {5, 7, 9}) {
        Unit().SetTool(toolNr, {});
    }
    World.Messages.Expect("No tool-values in VGL available!");
    Main().MonitorModeAction->trigger();
    ASSERT_EQ(World.Messages.History().size(), 3u);
    EXPECT_EQ(World.Messages.History()[2].Kind, MessageKind::Information);
    EXPECT_EQ(World.Messages.History()[2].Buttons, MessageButtons::Ok);
    EXPECT_FALSE(Monitor().isVisible());
    EXPECT_EQ(World.Context->LiveStatus.Target(), Main().StatusBar);
    EXPECT_EQ(World.Context->FrontWindow, WindowInFront::Main);
}

} // namespace
} // namespace vg
