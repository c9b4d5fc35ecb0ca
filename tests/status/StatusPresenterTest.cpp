#include "status/StatusPresenter.h"

#include "RecordingViews.h"
#include "config/TextFormats.h"
#include "status/MonitorTexts.h"
#include "status/StatusLamps.h"

#include <cstring>
#include <gtest/gtest.h>

namespace vg {
namespace {

class StatusPresenterTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitConfigState(Config);
        Presenter.SetHost(&Host);
    }

    // A programmed tool with a line in the tool list.
    void Program(int toolNr, float angle) {
        Config.ConfigImage.Tools[static_cast<size_t>(toolNr)] = {1, angle, 1.0f, 1};
        BuildToolLines(Config);
    }

    PollState Poll;
    DisplayState Display;
    ConfigState Config;
    StatusPresenter Presenter{Poll, Display, Config};
    test::RecordingHost Host;
    test::RecordingBar Bar;
    test::RecordingMonitor Monitor{Poll};
};

TEST_F(StatusPresenterTest, LowestErrorBitWins) {
    Presenter.Status_ShowError(&Bar, 0x41);
    EXPECT_EQ(Bar.Texts[StatusPanel::Error], "ERROR! Cable broken!");
    Presenter.Status_ShowError(&Bar, 0x80);
    EXPECT_EQ(Bar.Texts[StatusPanel::Error], "ERROR! No external teach allowed!");
    Presenter.Status_ShowError(&Bar, 0x0C);
    EXPECT_EQ(Bar.Texts[StatusPanel::Error], "ERROR! Control Unit!");
    Presenter.Status_ShowError(&Bar, 0x00);
    EXPECT_EQ(Bar.Texts[StatusPanel::Error], "");
    EXPECT_EQ(Bar.Writes.size(), 4u);
}

TEST_F(StatusPresenterTest, ScanningWinsOverZeroPosition) {
    Presenter.Status_ShowFlags(&Bar, 0x03, 0);
    EXPECT_EQ(Bar.Texts[StatusPanel::Scanning], "Scanning");
    Presenter.Status_ShowFlags(&Bar, 0x01, 0);
    EXPECT_EQ(Bar.Texts[StatusPanel::Scanning], "Zero-Pos.");
    Presenter.Status_ShowFlags(&Bar, 0x18, 0);
    EXPECT_EQ(Bar.Texts[StatusPanel::Scanning], "");
    EXPECT_TRUE(Display.Out1On);
    EXPECT_TRUE(Display.Out2On);
    EXPECT_EQ(Bar.Repaints, 3);
}

TEST_F(StatusPresenterTest, AngleIsShownWithTwoDecimalsAndAPoint) {
    Presenter.Status_ShowAngle(&Bar, 65535);
    EXPECT_EQ(Bar.Texts[StatusPanel::Angle], " MeasA.: 655.35");
    Presenter.Status_ShowAngle(&Bar, 9000);
    EXPECT_EQ(Bar.Texts[StatusPanel::Angle], " MeasA.:  90.00");
    Presenter.Status_ShowAngle(&Bar, 5);
    EXPECT_EQ(Bar.Texts[StatusPanel::Angle], " MeasA.:   0.05");
    EXPECT_EQ(Display.MeasuredAngle, 5);
    EXPECT_EQ(Host.Measured, (std::vector<int32_t>{65535, 9000, 5}));
}

TEST_F(StatusPresenterTest, IdentifierPanelShowsTheIdOnlyWhenValid) {
    Presenter.Status_ShowId(&Bar);
    EXPECT_EQ(Bar.Texts[StatusPanel::Id], "Id: --------");
    std::memcpy(Config.NamespaceInfo.CU_Id.data(), "00471100", 8);
    Config.NamespaceIdValid = true;
    Presenter.Status_ShowId(&Bar);
    EXPECT_EQ(Bar.Texts[StatusPanel::Id], "Id: 00471100");
}

TEST_F(StatusPresenterTest, ResetDrawsTheOfflinePictureOnTheBar) {
    Display.Out1On = Display.Out2On = true;
    Host.MonitorWindow = &Monitor;
    Presenter.Status_Reset(&Bar);
    EXPECT_FALSE(Display.Out1On);
    EXPECT_FALSE(Display.Out2On);
    EXPECT_EQ(Bar.Texts[StatusPanel::Scanning], "-----");
    EXPECT_EQ(Bar.Texts[StatusPanel::Angle], "-----");
    EXPECT_EQ(Bar.Repaints, 1);
    EXPECT_EQ(Monitor.OutputsShown + Monitor.LedShown, 0);
}

TEST_F(StatusPresenterTest, ResetWithTheMonitorInFrontDrawsOnTheMonitorOnly) {
    Host.MonitorWindow = &Monitor;
    Host.Front = FrontWindowNr::Monitor;
    Display.Out1On = true;
    Presenter.Status_Reset(&Bar);
    EXPECT_FALSE(Display.Out1On);
    EXPECT_EQ(Monitor.OutputsShown, 1);
    EXPECT_EQ(Monitor.LedShown, 1);
    EXPECT_EQ(Monitor.ZeroPositionLamp, false);
    EXPECT_EQ(Monitor.ScanningLamp, false);
    EXPECT_EQ(Monitor.CurrentAngles, std::vector<std::string>{"-----"});
    EXPECT_TRUE(Bar.Writes.empty());
    EXPECT_EQ(Bar.Repaints, 0);
}

TEST_F(StatusPresenterTest, WithoutABarTheMonitorGetsFlagsErrorAndKindZeroAngles) {
    Host.MonitorWindow = &Monitor;
    Presenter.Status_ShowFlags(nullptr, 0x09, 0);
    EXPECT_EQ(Monitor.OutputsShown, 1);
    EXPECT_EQ(Monitor.ZeroPositionLamp, true);
    EXPECT_EQ(Monitor.ScanningLamp, false);
    Presenter.Status_ShowError(nullptr, 0x02);
    EXPECT_EQ(Monitor.Message, "ERROR! Scanner!");
    Poll.StatusKind = 1;
    Presenter.Status_ShowAngle(nullptr, 4500);
    Poll.StatusKind = 0;
    Presenter.Status_ShowAngle(nullptr, 9000);
    EXPECT_EQ(Monitor.CurrentAngles, std::vector<std::string>{" 90.00"});
    // The settings window still hears of every angle.
    EXPECT_EQ(Display.MeasuredAngle, 9000);
    EXPECT_EQ(Host.Measured.size(), 2u);
}

// Teach results.

TEST_F(StatusPresenterTest, TeachEndingOnOut1StoresTheAngleInTheTool) {
    Program(3, 10.0f);
    Display.TeachTarget = 3;
    Presenter.Status_ShowFlags(&Bar, 0x02, 3000); // still scanning: nothing yet
    EXPECT_EQ(Display.TeachTarget, 3);
    Presenter.Status_ShowFlags(&Bar, 0x08, 6543);
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 65.43f);
    EXPECT_EQ(Config.ToolLines, std::vector<std::string>{" 003    65.43   1.00    1    "});
    EXPECT_EQ(Host.TaughtTools, std::vector<int>{3});
    EXPECT_EQ(Display.TeachTarget, -1);
    // Out1 from the same teach seen again is no second result.
    Presenter.Status_ShowFlags(&Bar, 0x09, 1000);
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 65.43f);
}

TEST_F(StatusPresenterTest, TeachEndingOnOut2AloneStoresNothing) {
    Program(3, 10.0f);
    Display.TeachTarget = 3;
    Presenter.Status_ShowFlags(&Bar, 0x10, 12000);
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 10.0f);
    EXPECT_TRUE(Host.TaughtTools.empty());
    EXPECT_EQ(Display.TeachTarget, -1);
}

TEST_F(StatusPresenterTest, TeachForTheEditorGoesToTheEditorOnly) {
    Program(7, 10.0f);
    Display.TeachTarget = 7 + TeachTargetEditorBit;
    Presenter.Status_ShowFlags(&Bar, 0x08, 4550);
    ASSERT_EQ(Host.EditorAngles.size(), 1u);
    EXPECT_DOUBLE_EQ(Host.EditorAngles[0], 45.5);
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[7].Angle, 10.0f);
    EXPECT_TRUE(Host.TaughtTools.empty());
    EXPECT_EQ(Display.TeachTarget, -1);
}

TEST_F(StatusPresenterTest, TeachTargetOutsideTheToolTableStoresNothing) {
    const auto before = Config.ConfigImage;
    for (const int32_t target : {128, 200, 0x0FFF, -7}) {
        Display.TeachTarget = target;
        Presenter.Status_ShowFlags(&Bar, 0x08, 6543);
        EXPECT_EQ(Display.TeachTarget, -1) << target;
    }
    EXPECT_EQ(std::memcmp(&before, &Config.ConfigImage, sizeof before), 0);
    EXPECT_TRUE(Host.TaughtTools.empty());
    EXPECT_TRUE(Host.EditorAngles.empty());
}

// Lamps.

TEST(StatusLamps, OutputLampsFollowTheFlags) {
    DisplayState display;
    EXPECT_EQ(Out1LampColour(display), 0xC0C0C0u);
    EXPECT_EQ(Out2LampColour(display), 0xC0C0C0u);
    display.Out1On = display.Out2On = true;
    EXPECT_EQ(Out1LampColour(display), 0x80FF80u);
    EXPECT_EQ(Out2LampColour(display), 0xFF0000u);
}

TEST(StatusLamps, OnlineLampIsRedOfflineAndBlinksWithTheCounterOnline) {
    PollState poll;
    poll.PollModulus = 8;
    poll.PollCounter = 5;
    EXPECT_EQ(OnlineLampColour(poll), LampColour::Red);
    EXPECT_EQ(MonitorLedColour(poll), LampColour::Red);
    poll.Online = true;
    std::vector<uint32_t> lamp;
    std::vector<std::optional<uint32_t>> led;
    for (uint16_t counter = 0; counter < 8; ++counter) {
        poll.PollCounter = counter;
        lamp.push_back(OnlineLampColour(poll));
        led.push_back(MonitorLedColour(poll));
    }
    const auto G = LampColour::Green, S = LampColour::Silver;
    EXPECT_EQ(lamp, (std::vector<uint32_t>{S, S, S, S, G, G, G, G}));
    EXPECT_EQ(led,
              (std::vector<std::optional<uint32_t>>{S, std::nullopt, std::nullopt, std::nullopt, G,
                                                    std::nullopt, std::nullopt, std::nullopt}));
    poll.PollModulus = 2;
    poll.PollCounter = 1;
    EXPECT_EQ(OnlineLampColour(poll), G);
    EXPECT_EQ(MonitorLedColour(poll), G);
}

TEST(StatusLamps, DrawnPanelsPlaceTheirLampsByScaleAndBarHeight) {
    DisplayState display;
    display.Out1On = true;
    PollState poll;
    const PanelRect outputs{284, 2, 377, 24};
    const auto drawn = Status_DrawPanel(StatusPanel::Outputs, outputs, 25, 1.228125, display, poll);
    EXPECT_EQ(drawn.Text, " Outs:");
    EXPECT_EQ(drawn.TextX, 284);
    EXPECT_EQ(drawn.TextY, 3);
    ASSERT_EQ(drawn.Lamps.size(), 2u);
    // trunc(35 x 1.228125) = 42, trunc(22 x 1.228125) = 27, (25 - 15) / 2 = 5
    EXPECT_EQ(drawn.Lamps[0].X, 326);
    EXPECT_EQ(drawn.Lamps[1].X, 353);
    EXPECT_EQ(drawn.Lamps[0].Y, 7);
    EXPECT_EQ(drawn.Lamps[0].Colour, LampColour::Green);
    EXPECT_EQ(drawn.Lamps[1].Colour, LampColour::Silver);

    const auto online =
        Status_DrawPanel(StatusPanel::Online, {700, 2, 722, 24}, 20, 1.0, display, poll);
    ASSERT_EQ(online.Lamps.size(), 1u);
    EXPECT_EQ(online.Lamps[0].X, 705);
    EXPECT_EQ(online.Lamps[0].Y, 4);
    EXPECT_EQ(online.Lamps[0].Colour, LampColour::Red);
    EXPECT_TRUE(
        Status_DrawPanel(StatusPanel::Angle, outputs, 20, 1.0, display, poll).Lamps.empty());

    const PanelRect circle = MonitorLedCircle({0, 0, 32, 32});
    EXPECT_EQ(circle.Left, 6);
    EXPECT_EQ(circle.Bottom, 26);
}

// The monitor window's tool texts.

TEST(MonitorTexts, ProgrammedToolShowsItsValuesAndItsNameOnlyWhenDefined) {
    ConfigState config;
    InitConfigState(config);
    config.ConfigImage.Tools[5] = {1, 1.15f, 0.7f, 2};
    auto box = MonitorCurrentToolBox(config, 5);
    EXPECT_TRUE(box.Programmed);
    EXPECT_EQ(box.ToolNr, "5");
    EXPECT_EQ(box.TargetAngle, "  1.15");
    EXPECT_EQ(box.Tolerance, "  0.70");
    EXPECT_EQ(box.Intensity, "2");
    EXPECT_EQ(box.Name, "");
    config.ToolNameTable[5].Defined = 1;
    std::strcpy(config.ToolNameTable[5].Name.data(), "Drill 5");
    EXPECT_EQ(MonitorCurrentToolBox(config, 5).Name, "Drill 5");
}

TEST(MonitorTexts, ToolOutsideTheTablesIsANumberWithoutValues) {
    ConfigState config;
    InitConfigState(config);
    config.ConfigImage.Tools[5] = {1, 90.0f, 2.0f, 3};
    BuildToolLines(config);
    for (const int16_t toolNr : {int16_t{7}, int16_t{128}, int16_t{255}}) {
        const auto box = MonitorCurrentToolBox(config, toolNr);
        EXPECT_FALSE(box.Programmed);
        EXPECT_EQ(box.ToolNr, std::to_string(toolNr));
        EXPECT_EQ(box.TargetAngle, "- - - -");
        EXPECT_EQ(box.Name, "- - - -");
        EXPECT_EQ(MonitorActualToolLine(config, toolNr), -1);
    }
    EXPECT_EQ(MonitorActualToolLine(config, 5), 0);
}

} // namespace
} // namespace vg
