#include "gui/StatusDisplay.h"

#include "config/model/TextFormats.h"
#include "gui/MonitorTexts.h"
#include "gui/StatusLamps.h"
#include "support/LinkWorld.h"
#include "support/RecordingViews.h"

#include <cstring>
#include <gtest/gtest.h>

namespace vg {
namespace {

// The status display as the poll drives it with the records it takes.
class StatusDisplayTest : public ::testing::Test, protected test::DisplayedSerialPoll {
protected:
    void SetUp() override {
        InitConfigState(Config);
        Poll.AddListener(&Host);
        Poll.AddListener(&Shown);
        Shown.ShowOn(&Bar);
    }

    // A programmed tool with a line in the tool list.
    void Program(int toolNr, float angle) {
        Config.ConfigImage.Tools[static_cast<size_t>(toolNr)] = {1, angle, 1.0f, 1};
        BuildToolLines(Config);
    }

    // A record of kind 0 with these state bits, error bits and measured angle.
    void Take(uint8_t stateBits, uint8_t errorBits, uint16_t angle) {
        Poll.TakeRecord(DeviceReply{0, stateBits, 0, errorBits, static_cast<uint8_t>(angle & 0xFF),
                                    static_cast<uint8_t>(angle >> 8)});
    }

    test::RecordingBar Bar;
    test::RecordingMonitor Monitor;
};

TEST_F(StatusDisplayTest, BarShowsErrorScanningAngleAndId) {
    const std::vector<std::pair<uint8_t, std::string>> errors = {
        {0x41, "ERROR! Cable broken!"},
        {0x80, "ERROR! No external teach allowed!"},
        {0x0C, "ERROR! Control Unit!"},
        {0x00, ""}};
    for (const auto& [bits, text] : errors) {
        Take(0x00, bits, 0);
        EXPECT_EQ(Bar.Texts[StatusPanel::Error], text) << int{bits};
    }
    // The first record drew every field; from here on only what is new is drawn.
    Bar.Forget();
    Host.Measured.clear();
    const std::vector<std::pair<uint8_t, std::string>> flags = {
        {0x03, "Scanning"}, {0x01, "Zero-Pos."}, {0x18, ""}};
    for (const auto& [bits, text] : flags) {
        Take(bits, 0x00, 0);
        EXPECT_EQ(Bar.Texts[StatusPanel::Scanning], text) << int{bits};
    }
    EXPECT_TRUE(Shown.Lamps().Out1On && Shown.Lamps().Out2On);
    EXPECT_EQ(Bar.Repaints, 3);
    // "%6.2f" with a point: a leading blank below 100.
    for (const auto& [angle, text] : std::vector<std::pair<uint16_t, std::string>>{
             {65535, " MeasA.: 655.35"}, {9000, " MeasA.:  90.00"}, {5, " MeasA.:   0.05"}}) {
        Take(0x18, 0x00, angle);
        EXPECT_EQ(Bar.Texts[StatusPanel::Angle], text);
    }
    EXPECT_EQ(Display.MeasuredAngle, 5);
    EXPECT_EQ(Host.Measured, (std::vector<int32_t>{65535, 9000, 5}));
    EXPECT_EQ(Bar.Texts[StatusPanel::Id], "Id: --------");
    std::memcpy(Config.NamespaceInfo.CU_Id.data(), "00471100", 8);
    Config.NamespaceIdValid = true;
    Take(0x18, 0x00, 5);
    EXPECT_EQ(Bar.Texts[StatusPanel::Id], "Id: 00471100");
}

TEST_F(StatusDisplayTest, ResetDrawsOnTheBarOrOnTheMonitorInFront) {
    Shown.SetMonitor(&Monitor);
    Take(0x18, 0x00, 0);
    Bar.Forget();
    Shown.UnitWentOffline();
    EXPECT_FALSE(Shown.Lamps().Out1On || Shown.Lamps().Out2On);
    EXPECT_EQ(Bar.Texts[StatusPanel::Scanning], "-----");
    EXPECT_EQ(Bar.Texts[StatusPanel::Angle], "-----");
    EXPECT_EQ(Bar.Repaints, 1);
    EXPECT_EQ(Monitor.OutputsShown + Monitor.LedShown, 0);

    Bar.Forget();
    Front = WindowInFront::Monitor;
    Shown.UnitWentOffline();
    EXPECT_EQ(Monitor.OutputsShown, 1);
    EXPECT_EQ(Monitor.LedShown, 1);
    EXPECT_EQ(Monitor.ZeroPositionLamp, false);
    EXPECT_EQ(Monitor.ScanningLamp, false);
    EXPECT_EQ(Monitor.CurrentAngles, std::vector<std::string>{"-----"});
    EXPECT_TRUE(Bar.Writes.empty());
    EXPECT_EQ(Bar.Repaints, 0);
}

TEST_F(StatusDisplayTest, TeachResultGoesToTheToolOrTheEditorOnOut1Only) {
    Program(3, 10.0f);
    Display.TeachTarget = 3;
    Take(0x02, 0x00, 3000); // still scanning
    EXPECT_EQ(Display.TeachTarget, 3);
    Take(0x08, 0x00, 6543);
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 65.43f);
    EXPECT_EQ(Config.ToolLines, std::vector<std::string>{" 003    65.43   1.00    1    "});
    EXPECT_EQ(Host.TaughtTools, std::vector<int>{3});
    EXPECT_EQ(Display.TeachTarget, -1);

    // Out2 alone: the unit found nothing.
    Display.TeachTarget = 3;
    Take(0x10, 0x00, 12000);
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 65.43f);
    EXPECT_EQ(Display.TeachTarget, -1);

    Display.TeachTarget = 3 + TeachTargetEditorBit;
    Take(0x08, 0x00, 4550);
    EXPECT_EQ(Host.EditorAngles, std::vector<double>{45.5});
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 65.43f);
    EXPECT_EQ(Host.TaughtTools.size(), 1u);
    EXPECT_EQ(Display.TeachTarget, -1);
}

TEST_F(StatusDisplayTest, TeachTargetOutsideTheToolTableStoresNothing) {
    const auto before = Config.ConfigImage;
    for (const int32_t target : {128, 200, 0x0FFF, -7}) {
        Display.TeachTarget = target;
        Poll.RedrawWithNextRecord(); // the flags count as new with every record
        Take(0x08, 0x00, 6543);
        EXPECT_EQ(Display.TeachTarget, -1) << target;
    }
    EXPECT_EQ(std::memcmp(&before, &Config.ConfigImage, sizeof before), 0);
    EXPECT_TRUE(Host.TaughtTools.empty());
    EXPECT_TRUE(Host.EditorAngles.empty());
}

TEST(StatusLamps, LampColoursFollowFlagsOnlineStateAndCounter) {
    StatusLampState display;
    EXPECT_EQ(Out1LampColour(display), 0xC0C0C0u);
    EXPECT_EQ(Out2LampColour(display), 0xC0C0C0u);
    display.Out1On = display.Out2On = true;
    EXPECT_EQ(Out1LampColour(display), 0x80FF80u);
    EXPECT_EQ(Out2LampColour(display), 0xFF0000u);

    StatusHeartbeat poll;
    poll.BeatsPerCycle = 8;
    poll.Beat = 4;
    EXPECT_EQ(OnlineLampColour(poll), LampColour::Red);
    EXPECT_EQ(MonitorLedColour(poll), LampColour::Red);
    poll.Online = true;
    std::vector<uint32_t> lamp;
    std::vector<std::optional<uint32_t>> led;
    for (uint16_t counter = 0; counter < 8; ++counter) {
        poll.Beat = counter;
        lamp.push_back(OnlineLampColour(poll));
        led.push_back(MonitorLedColour(poll));
    }
    const auto G = LampColour::Green, S = LampColour::Silver;
    const std::optional<uint32_t> none;
    EXPECT_EQ(lamp, (std::vector<uint32_t>{S, S, S, S, G, G, G, G}));
    EXPECT_EQ(led,
              (std::vector<std::optional<uint32_t>>{S, none, none, none, G, none, none, none}));
}

TEST(StatusLamps, DrawnPanelsPlaceTheirLampsByScaleAndBarHeight) {
    StatusLampState display;
    display.Out1On = true;
    const auto outs =
        DrawStatusPanel(StatusPanel::Outputs, {284, 2, 377, 24}, 25, 1.228125, display);
    EXPECT_EQ(outs.Text, " Outs:");
    EXPECT_EQ(outs.TextY, 3);
    // trunc(35 x 1.228125) = 42, trunc(22 x 1.228125) = 27, (25 - 15) / 2 = 5
    ASSERT_EQ(outs.Lamps.size(), 2u);
    EXPECT_EQ(outs.Lamps[0].X, 326);
    EXPECT_EQ(outs.Lamps[1].X, 353);
    EXPECT_EQ(outs.Lamps[0].Y, 7);
    EXPECT_EQ(outs.Lamps[0].Colour, LampColour::Green);
    const auto online = DrawStatusPanel(StatusPanel::Online, {700, 2, 722, 24}, 20, 1.0, display);
    ASSERT_EQ(online.Lamps.size(), 1u);
    EXPECT_EQ(online.Lamps[0].X, 705);
    EXPECT_EQ(online.Lamps[0].Y, 4);
    EXPECT_EQ(MonitorLedCircle({0, 0, 32, 32}).Left, 6);
}

TEST(MonitorTexts, CurrentToolBoxAndActualToolLine) {
    ConfigState config;
    InitConfigState(config);
    config.ConfigImage.Tools[5] = {1, 1.15f, 0.7f, 2};
    BuildToolLines(config);
    auto box = MonitorCurrentToolBox(config, 5);
    EXPECT_TRUE(box.Programmed);
    EXPECT_EQ(box.TargetAngle, "  1.15");
    EXPECT_EQ(box.Tolerance, "  0.70");
    EXPECT_EQ(box.Intensity, "2");
    EXPECT_EQ(box.Name, ""); // no name defined
    config.ToolNameTable[5].Defined = 1;
    std::strcpy(config.ToolNameTable[5].Name.data(), "Drill 5");
    EXPECT_EQ(MonitorCurrentToolBox(config, 5).Name, "Drill 5");
    EXPECT_EQ(MonitorActualToolLine(config, 5), 0);
    // Not programmed, and beyond the 128-entry tables: a number without values.
    for (const int16_t toolNr : {int16_t{7}, int16_t{128}, int16_t{255}}) {
        box = MonitorCurrentToolBox(config, toolNr);
        EXPECT_FALSE(box.Programmed);
        EXPECT_EQ(box.ToolNr, std::to_string(toolNr));
        EXPECT_EQ(box.TargetAngle, "- - - -");
        EXPECT_EQ(box.Name, "- - - -");
        EXPECT_EQ(MonitorActualToolLine(config, toolNr), -1);
    }
}

} // namespace
} // namespace vg
