#include "gui/ManualWindow.h"

#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "sim/SimSerialServer.h"
#include "support/ChooserScript.h"
#include "support/GuiWorld.h"
#include "support/LinkWorld.h"
#include "support/ModalScript.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace vg {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr DeviceRequest GoToTool1{0x00, 0x08, 0x03, 0x14, 0x28, 0x23}; // 90.00, 2.00, High
constexpr DeviceRequest GoToTool4{0x00, 0x08, 0x01, 0x0F, 0x73, 0x00}; // 1.15, 1.50, Low
constexpr DeviceRequest GoBack{0x00, 0x04, 0x00, 0x00, 0x00, 0x00};

using test::IsStatusRequest;

// The program on the serial line, its COM1 a pseudo-terminal to a simulated unit served in
// this process (so the test reads what the unit received). The test ticks the poll itself:
// the main window's timer is stopped.
class ManualWindowTest : public ::testing::Test {
protected:
    ManualWindowTest() {
        Unit.SetVariant(0); // 32 tool slots: a short upload
        Unit.SetTool(1, {true, 9000, 20, 3});
        Unit.SetTool(4, {true, 115, 15, 1});
        std::string why;
        if (!Server.Open(why)) {
            throw std::runtime_error(why);
        }
        Server.Start();
        std::filesystem::create_symlink(Server.DevicePath(), World.Dir / "COM1");
        World.Start();
        Main().PollTimer->stop();
        for (int i = 0; i < 6 && !Poll().Online; ++i) {
            Tick();
        }
        if (!Poll().Online) {
            throw std::runtime_error("the unit did not come online");
        }
    }

    MainWindow& Main() { return *World.W().Main; }
    ManualWindow& Manual() { return *World.W().Manual; }
    PollState& Poll() { return World.Core->Poll; }
    QString Panel(int panel) { return Manual().StatusBar->PanelText(panel); }

    // One timer event; a request or command that went out is waited for, with a bound, until
    // its answer is in the receive slot. While the window is open the unit answers late
    // enough that a reply is never taken by the tick that asked for it.
    void Tick() {
        const bool command = !Poll().RequestOutstanding && Poll().PendingCommandFlag;
        World.Core->Status.Tick();
        if (command || Poll().RequestOutstanding) {
            ASSERT_TRUE(World.Core->Slot.WaitForReply(Clock::now() + 2s)) << "no answer";
        }
    }
    // Ticks until a status request is on its way and answered: the unit has heard everything
    // sent so far, and the next command goes out on the second tick from here. Only from a
    // quiet line: once a command's answer has been left over, every later tick takes the
    // answer to the request before its own.
    void Settle() {
        for (int i = 0; i < 3 && !Poll().RequestOutstanding; ++i) {
            Tick();
        }
        ASSERT_TRUE(Poll().RequestOutstanding);
    }
    std::vector<DeviceRequest> HeardSince(size_t mark) {
        const auto all = Unit.RequestsReceived();
        return {all.begin() + static_cast<ptrdiff_t>(std::min(mark, all.size())), all.end()};
    }

    // Manual Mode from the main menu, loading from the unit; `script` runs while the window
    // is open.
    void Open(std::function<void()> script) {
        test::ClickInChooser(&SourceChooser::UnitButton);
        test::RunWhileModal(&Manual(), [this, script] {
            Unit.SetAnswerDelay(20ms);
            script();
            Unit.SetAnswerDelay(0ms);
        });
        Main().ManualModeAction->trigger();
    }

    void Select(int line) { SelectToolLine(*Manual().ToolList, line); }

    sim::SimUnit Unit;
    sim::SimSerialServer Server{Unit};
    test::GuiWorld World{"M:2\r\nC:1\r\n"};
};

TEST_F(ManualWindowTest, OpensWithTheToolTableAndItsOwnStatusBar) {
    Open([this] {
        ManualWindow& m = Manual();
        EXPECT_EQ(m.size(), QSize(632, 434));
        EXPECT_FALSE(Main().isVisible());
        EXPECT_EQ(World.Context->FrontWindow, WindowInFront::Manual);
        EXPECT_EQ(World.Context->LiveStatus.Target(), m.StatusBar);
        ASSERT_EQ(m.ToolList->count(), 2);
        EXPECT_EQ(SelectedToolLine(*m.ToolList), 0);
        EXPECT_EQ(m.ToolList->item(0)->text().left(13), " 001    90.00");
        // Sized to this window, the bar ends at its right edge.
        EXPECT_EQ(m.StatusBar->geometry(),
                  QRect(0, 434 - m.StatusBar->height(), 632, m.StatusBar->height()));
        EXPECT_LE(m.StatusBar->sizeHint().width(), 632);
        // The new target gets every field with the next record.
        Tick();
        Tick();
        EXPECT_EQ(Panel(StatusPanel::Scanning), "Zero-Pos.");
        EXPECT_EQ(Panel(StatusPanel::Angle), " MeasA.:   0.00");
        EXPECT_EQ(Panel(StatusPanel::Id), "Id: 00001234");
    });
}

TEST_F(ManualWindowTest, GoPositionSendsTheToolsRequestAndTheBarShowsTheMove) {
    Unit.SetSpeed(30000);
    Open([this] {
        Settle();
        const size_t mark = Unit.RequestsReceived().size();
        Manual().GoToAngleButton->click();
        Tick(); // takes the answer on its way
        Tick(); // sends the command in place of a status request
        EXPECT_EQ(HeardSince(mark), std::vector<DeviceRequest>{GoToTool1});

        std::set<QString> scanningTexts;
        const auto deadline = Clock::now() + 5s;
        while (Panel(StatusPanel::Angle) != " MeasA.:  90.00" && Clock::now() < deadline) {
            Tick();
            scanningTexts.insert(Panel(StatusPanel::Scanning));
        }
        EXPECT_EQ(Panel(StatusPanel::Angle), " MeasA.:  90.00");
        EXPECT_TRUE(scanningTexts.count("Scanning")) << "the move was never shown";
        Tick();
        Tick();
        EXPECT_EQ(Panel(StatusPanel::Scanning), "");
        const auto heard = HeardSince(mark + 1);
        EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), IsStatusRequest))
            << "the command went out once";
    });
}

TEST_F(ManualWindowTest, SecondPressBeforeTheNextTickReplacesTheFirst) {
    Open([this] {
        Settle();
        const size_t mark = Unit.RequestsReceived().size();
        Manual().GoToAngleButton->click();
        Select(1);
        Manual().GoToAngleButton->click();
        Tick();
        Tick();
        // Tool 4's angle 1.15 travels as 115 hundredths.
        EXPECT_EQ(HeardSince(mark), std::vector<DeviceRequest>{GoToTool4});
    });
}

TEST_F(ManualWindowTest, WithoutSelectionOnlyGoBackIsSent) {
    Open([this] {
        Settle();
        const size_t mark = Unit.RequestsReceived().size();
        Select(-1);
        Manual().GoToAngleButton->click();
        EXPECT_FALSE(Poll().PendingCommandFlag);
        Manual().GoBackButton->click();
        Tick();
        Tick();
        EXPECT_EQ(HeardSince(mark), std::vector<DeviceRequest>{GoBack});
    });
}

TEST_F(ManualWindowTest, CloseButtonForgetsTheIdentifierTheCloseBoxKeepsIt) {
    Open([this] { Manual().close(); });
    EXPECT_TRUE(World.Core->Config.NamespaceIdValid);
    Open([this] { Manual().CloseButton->click(); });
    EXPECT_FALSE(World.Core->Config.NamespaceIdValid);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(World.Context->FrontWindow, WindowInFront::Main);
    EXPECT_EQ(World.Context->LiveStatus.Target(), Main().StatusBar);
    for (int i = 0; i < 3; ++i) {
        Tick();
    }
    EXPECT_EQ(Main().StatusBar->PanelText(StatusPanel::Id), "Id: --------");
}

TEST_F(ManualWindowTest, F1OpensTheManualModeHelp) {
    Open([this] {
        Manual().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Manual()));
        QTest::keyClick(Manual().ToolList, Qt::Key_F1);
        EXPECT_EQ(World.Help.ShownTopic(), HelpContext::ManualMode);
        World.Help.close();
    });
}

TEST(ManualModeMenu, NothingOpensWithoutToolsOrWithoutAChoice) {
    test::GuiWorld world;
    world.Start();
    MainWindow& main = *world.W().Main;
    main.PollTimer->stop();

    // Cancelled: no message.
    test::ClickInChooser(&SourceChooser::CancelButton);
    main.ManualModeAction->trigger();
    EXPECT_TRUE(world.Messages.History().empty());

    // A new configuration file has no tools.
    world.Files.Answer(
        QString::fromStdString((world.Dir / "CD_DATA" / "VGL_00004321.CD").string()));
    world.Messages.Expect("No values in table!");
    test::ClickInChooser(&SourceChooser::FileButton);
    main.ManualModeAction->trigger();
    ASSERT_EQ(world.Messages.History().size(), 1u);
    EXPECT_EQ(world.Messages.History()[0].Kind, MessageKind::Information);
    EXPECT_EQ(world.Messages.History()[0].Buttons, MessageButtons::Ok);
    EXPECT_FALSE(world.W().Manual->isVisible());
    EXPECT_EQ(world.Context->FrontWindow, WindowInFront::Main);
    EXPECT_EQ(world.Context->LiveStatus.Target(), main.StatusBar);
}

} // namespace
} // namespace vg
