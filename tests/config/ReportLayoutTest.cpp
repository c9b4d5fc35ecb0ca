#include "config/report/ReportLayout.h"

#include "config/report/TextGridCanvas.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace vg {
namespace {

const std::string Now = "24.08.2004 17:15:16";

// A row of the character grid with each text at its column.
std::string Cols(std::initializer_list<std::pair<size_t, std::string>> texts) {
    std::string row;
    for (const auto& [column, text] : texts) {
        row.resize(column, ' ');
        row += text;
    }
    return row;
}

class RecordingBusyBox : public BusyBox {
public:
    void ShowBusyBox(const std::string& caption, const std::string& message) override {
        Events.push_back("show " + caption + " | " + message);
    }
    void HideBusyBox() override { Events.push_back("hide"); }
    std::vector<std::string> Events;
};

ConfigState UnitState() {
    ConfigState state;
    state.ConfigSource = ConfigSource::Unit;
    state.NamespaceIdValid = true;
    std::memcpy(state.NamespaceInfo.CU_Id.data(), "00001234", 8);
    state.FirmwareInfo = {4, 8, 24, 4, 4, 1};
    ConfigImage& s = state.ConfigImage;
    s.Scanner = 2;
    s.Out1Polarity = 0;
    s.Out2Polarity = 1;
    s.OutPulseTime = 250;
    s.ReturnTrvMon = 1;
    s.SignalMode = 0;
    s.Monitoring = 1;
    s.RotDir = 0;
    s.PowerOnMove = 1;
    s.DefaultAngle = 12000;
    s.DefaultTolerance = 5;
    s.DefaultIntensity = 3;
    return state;
}

std::vector<std::string> NumberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    return lines;
}

class ReportTest : public ::testing::Test {
protected:
    bool Print(ConfigState& state) {
        return PrintReport(state, state.ConfigImage, canvas, busy, Now);
    }

    TextGridCanvas canvas{60};
    RecordingBusyBox busy;
};

TEST_F(ReportTest, HeaderAndSettingsBlockOfAUnitConfiguration) {
    ConfigState state = UnitState();
    state.ToolLines = {" 003   160.00   1.00    1    drill 2,5 mm"};
    ASSERT_TRUE(Print(state));
    const std::vector<std::string> expected = {
        "",
        "",
        "",
        "",
        Cols({{4, "VG_Configuration"}, {64, "Date:"}, {74, Now}}),
        Cols({{4, "Configuration:"}, {34, "Vigilo  CU_Id = 00001234"}}),
        Cols({{4, "Firmsoftware-Version:"}, {34, "V1.04  24/08/04"}}),
        "",
        Cols({{4, "Global-Settings:"}}),
        Cols({{6, "Scanner:"}, {34, "RZ42"}}),
        Cols({{6, "Out1:"}, {34, "N/C Normally Closed"}}),
        Cols({{6, "Out2:"}, {34, "N/O Normally Open"}}),
        Cols({{6, "Out Pulse Time [msec]:"}, {34, "250"}}),
        Cols({{6, "Return Travel Monitoring:"}, {34, "Active"}}),
        Cols({{6, "Signal Mode:"}, {34, "at Offset Position"}}),
        Cols({{6, "Monitoring:"}, {34, "Object"}}),
        Cols({{6, "Rotation Direction:"}, {34, "Counter-Clockwise"}}),
        Cols({{6, "Power On Move:"}, {34, "Active"}}),
        "",
        Cols({{4, "Default-Settings:"}}),
        Cols({{6, "Default Angle:"}, {34, "120.00"}}),
        Cols({{6, "Default Tolerance:"}, {34, "0.05"}}),
        Cols({{6, "Default Intensity:"}, {34, "High"}}),
        "",
        Cols({{4, "Tool-Settings:"}}),
        "       Tool  Angle     Tole- Inten-  Toolname",
        "        Nr.            rance  sity    ",
        Cols({{6, " 003   160.00   1.00    1    drill 2,5 mm"}}),
    };
    ASSERT_EQ(canvas.Pages().size(), 1U);
    EXPECT_EQ(canvas.Pages()[0], expected);
    EXPECT_EQ(canvas.JobTitle(), "My Print Job");
    EXPECT_EQ(canvas.FontPointSize(), 10);
    EXPECT_TRUE(canvas.Finished());
}

TEST_F(ReportTest, FileConfigurationNamesTheFileAndNoVersion) {
    ConfigState state = UnitState();
    state.ConfigSource = ConfigSource::File;
    state.ConfigFileName = "/home/op/CD_DATA/VGL_12345678.CD";
    ASSERT_TRUE(Print(state));
    EXPECT_EQ(canvas.Row(0, 5), Cols({{4, "Configuration:"}, {34, "File: VGL_12345678.CD"}}));
    EXPECT_EQ(canvas.Row(0, 6),
              Cols({{4, "Firmsoftware-Version:"}, {34, "Version -------------------"}}));

    state.ConfigSource = ConfigSource::None;
    state.ConfigFileName.clear();
    ASSERT_TRUE(Print(state));
    EXPECT_EQ(canvas.Row(0, 5), Cols({{4, "Configuration:"}, {34, "File: "}}));
}

TEST_F(ReportTest, UnitWithoutIdentifierSaysSo) {
    ConfigState state = UnitState();
    state.NamespaceIdValid = false;
    ASSERT_TRUE(Print(state));
    EXPECT_EQ(canvas.Row(0, 5),
              Cols({{4, "Configuration:"}, {34, "Vigilo  CU_Id is not defined"}}));
}

TEST_F(ReportTest, OtherSettingValues) {
    ConfigState state = UnitState();
    ConfigImage& s = state.ConfigImage;
    s.Scanner = 1;
    s.OutPulseTime = 0;
    s.SignalMode = 7;
    s.Monitoring = 0;
    s.RotDir = -1;
    s.DefaultIntensity = 0;
    ASSERT_TRUE(Print(state));
    EXPECT_EQ(canvas.Row(0, 9).substr(34), "RZ41");
    EXPECT_EQ(canvas.Row(0, 12).substr(34), "0");
    EXPECT_EQ(canvas.Row(0, 14).substr(34), "at Home Position");
    EXPECT_EQ(canvas.Row(0, 15).substr(34), "Free Space");
    EXPECT_EQ(canvas.Row(0, 16).substr(34), "Clockwise");
    EXPECT_EQ(canvas.Row(0, 22).substr(34), "Ultra-Low");
}

TEST_F(ReportTest, ValuesOutsideTheirTablesPrintUnknown) {
    ConfigState state = UnitState();
    ConfigImage& s = state.ConfigImage;
    s.Scanner = 0;
    s.Out1Polarity = 2;
    s.Out2Polarity = -1;
    s.ReturnTrvMon = 2;
    s.PowerOnMove = 0x7FFFFFFF;
    s.DefaultIntensity = 4;
    ASSERT_TRUE(Print(state));
    for (size_t row : {9U, 10U, 11U, 13U, 17U, 22U}) {
        EXPECT_EQ(canvas.Row(0, row).substr(34), "Unknown") << row;
    }
}

TEST_F(ReportTest, EmptyToolTableEndsWithTheColumnHeads) {
    ConfigState state = UnitState();
    ASSERT_TRUE(Print(state));
    ASSERT_EQ(canvas.Pages().size(), 1U);
    EXPECT_EQ(canvas.Pages()[0].size(), 27U);
}

TEST_F(ReportTest, ToolLinesBreakAfterRow58OfA60RowPage) {
    ConfigState state = UnitState();
    state.ToolLines = NumberedLines(40);
    ASSERT_TRUE(Print(state));
    ASSERT_EQ(canvas.Pages().size(), 2U);
    EXPECT_EQ(canvas.Row(0, 27), Cols({{6, "line 0"}}));
    EXPECT_EQ(canvas.Row(0, 58), Cols({{6, "line 31"}}));
    EXPECT_EQ(canvas.Pages()[0].size(), 59U);
    EXPECT_EQ(canvas.Row(1, 1), "");
    EXPECT_EQ(canvas.Row(1, 2), Cols({{6, "line 32"}}));
    EXPECT_EQ(canvas.Row(1, 9), Cols({{6, "line 39"}}));
    EXPECT_EQ(canvas.Text().find('\f'), canvas.Text().rfind('\f'));
}

TEST_F(ReportTest, FollowingPagesHoldRows2To58) {
    ConfigState state = UnitState();
    state.ToolLines = NumberedLines(32 + 57 + 1);
    ASSERT_TRUE(Print(state));
    ASSERT_EQ(canvas.Pages().size(), 3U);
    EXPECT_EQ(canvas.Row(1, 58), Cols({{6, "line 88"}}));
    EXPECT_EQ(canvas.Row(2, 2), Cols({{6, "line 89"}}));
}

TEST_F(ReportTest, LineThatFillsThePageStillStartsANewOne) {
    ConfigState state = UnitState();
    state.ToolLines = NumberedLines(32);
    ASSERT_TRUE(Print(state));
    ASSERT_EQ(canvas.Pages().size(), 2U);
    EXPECT_TRUE(canvas.Pages()[1].empty());
}

// Device units where a character is 7 wide and a line 13 high, as on a printer.
class ScaledCanvas : public ReportCanvas {
public:
    struct Drawn {
        int X;
        int Y;
        std::string Text;
        int Page;
        bool Busy;
    };
    explicit ScaledCanvas(const ConfigState& state) : State(state) {}

    int PageHeight() override { return 60 * 13; }
    void SetJobTitle(const std::string&) override {}
    void SetFixedPitchFont(int) override {}
    int TextWidth(const std::string& text) override { return 7 * static_cast<int>(text.size()); }
    int TextHeight(const std::string&) override { return 13; }
    bool BeginDocument() override { return Startable; }
    void TextOut(int x, int y, const std::string& text) override {
        Items.push_back({x, y, text, Page, State.TransferBusy});
    }
    void NewPage() override { ++Page; }
    bool EndDocument() override { return Finishable; }

    const ConfigState& State;
    std::vector<Drawn> Items;
    int Page = 0;
    bool Startable = true;
    bool Finishable = true;
};

TEST(ReportGrid, PositionsAreMultiplesOfCharacterWidthAndLineHeight) {
    ConfigState state = UnitState();
    state.ToolLines = NumberedLines(33);
    ScaledCanvas canvas(state);
    RecordingBusyBox busy;
    ASSERT_TRUE(PrintReport(state, state.ConfigImage, canvas, busy, Now));
    EXPECT_EQ(canvas.Items[0].X, 4 * 7);
    EXPECT_EQ(canvas.Items[0].Y, 4 * 13);
    EXPECT_EQ(canvas.Items[2].X, 74 * 7);
    const auto& first = canvas.Items[canvas.Items.size() - 33];
    EXPECT_EQ(first.Text, "line 0");
    EXPECT_EQ(first.X, 6 * 7);
    EXPECT_EQ(first.Y, 27 * 13);
    EXPECT_EQ(canvas.Items[canvas.Items.size() - 2].Y, 58 * 13);
    EXPECT_EQ(canvas.Items.back().Y, 2 * 13);
    EXPECT_EQ(canvas.Items.back().Page, 1);
}

TEST(ReportJob, BusyWhileDrawingAndClearedAfterwards) {
    ConfigState state = UnitState();
    state.ToolLines = NumberedLines(2);
    ScaledCanvas canvas(state);
    RecordingBusyBox busy;
    for (int job = 0; job < 2; ++job) {
        ASSERT_TRUE(PrintReport(state, state.ConfigImage, canvas, busy, Now));
        EXPECT_FALSE(state.TransferBusy);
    }
    for (const auto& item : canvas.Items) {
        EXPECT_TRUE(item.Busy) << item.Text;
    }
    const std::string shown = "show Status: Busy .... | Printing Data!  Please wait ....!";
    EXPECT_EQ(busy.Events, (std::vector<std::string>{shown, "hide", shown, "hide"}));
}

TEST(ReportJob, JobThatCannotStartOrFinishReportsIt) {
    ConfigState state = UnitState();
    ScaledCanvas canvas(state);
    RecordingBusyBox busy;
    canvas.Startable = false;
    EXPECT_FALSE(PrintReport(state, state.ConfigImage, canvas, busy, Now));
    EXPECT_TRUE(canvas.Items.empty());
    EXPECT_FALSE(state.TransferBusy);
    EXPECT_EQ(busy.Events.back(), "hide");

    canvas.Startable = true;
    canvas.Finishable = false;
    EXPECT_FALSE(PrintReport(state, state.ConfigImage, canvas, busy, Now));
    EXPECT_FALSE(state.TransferBusy);
    EXPECT_EQ(busy.Events.back(), "hide");
}

TEST(TextGrid, TextLandsAtItsCellAndPagesAreFormFeedSeparated) {
    TextGridCanvas grid(10);
    ASSERT_TRUE(grid.BeginDocument());
    grid.TextOut(3, 1, "abc");
    grid.TextOut(1, 1, "XY");
    grid.TextOut(4, 1, "Z");
    grid.TextOut(-1, 0, "lost");
    grid.NewPage();
    grid.TextOut(0, 0, "p2");
    EXPECT_EQ(grid.Text(), "\n XYaZc\n\fp2\n");
    EXPECT_EQ(grid.PageHeight(), 10);
    EXPECT_EQ(grid.TextWidth("Something"), 9);
    EXPECT_EQ(grid.TextHeight("Something"), 1);
}

TEST(TextGrid, NewDocumentStartsEmpty) {
    TextGridCanvas grid;
    ASSERT_TRUE(grid.BeginDocument());
    grid.TextOut(0, 0, "old");
    ASSERT_TRUE(grid.BeginDocument());
    EXPECT_EQ(grid.Text(), "");
    EXPECT_EQ(grid.PageHeight(), 66);
}

} // namespace
} // namespace vg
