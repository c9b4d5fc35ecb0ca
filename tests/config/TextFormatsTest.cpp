#include "config/model/TextFormats.h"

#include <clocale>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace vg {
namespace {

void Program(ConfigState& state, int toolNr, float angle, float tolerance, int intensity) {
    state.ConfigImage.Tools[static_cast<size_t>(toolNr)] = {1, angle, tolerance, intensity};
}

void Name(ConfigState& state, int toolNr, const char* name) {
    ToolNameRecord& record = state.ToolNameTable[static_cast<size_t>(toolNr)];
    record.Defined = 1;
    std::strncpy(record.Name.data(), name, record.Name.size());
}

TEST(ToolLine, NamedToolSpacesItsColumns) {
    ConfigState state;
    Program(state, 5, 160.0F, 1.0F, 1);
    Name(state, 5, "drill 2,5 mm");
    BuildToolLines(state);
    ASSERT_EQ(state.ToolLines.size(), 1U);
    EXPECT_EQ(state.ToolLines[0], " 005   160.00   1.00    1    drill 2,5 mm");
}

TEST(ToolLine, UnnamedToolEndsWithFourBlanks) {
    ConfigState state;
    Program(state, 17, 1.15F, 0.7F, 0);
    BuildToolLines(state);
    ASSERT_EQ(state.ToolLines.size(), 1U);
    EXPECT_EQ(state.ToolLines[0], " 017     1.15   0.70    0    ");
}

TEST(ToolLine, ThirtyCharacterNameWithThreeDigitAngleIs59Long) {
    ConfigState state;
    Program(state, 127, 359.99F, 25.5F, 3);
    Name(state, 127, "abcdefghijklmnopqrstuvwxyz0123");
    BuildToolLines(state);
    EXPECT_EQ(state.ToolLines[0].size(), 59U);
    EXPECT_EQ(state.ToolLines[0].substr(0, 29), " 127   359.99  25.50    3    ");
}

TEST(ToolLine, NamesBeyondFiftyCharactersAreCutInTheLineOnly) {
    ConfigState state;
    Program(state, 1, 10.0F, 1.0F, 1);
    const std::string longName(70, 'n');
    Name(state, 1, longName.c_str());
    BuildToolLines(state);
    EXPECT_EQ(state.ToolLines[0].size(), 79U);
    EXPECT_EQ(ToolNameText(state.ToolNameTable[1]), longName);
}

TEST(ToolLine, UnterminatedNameStopsAtTheRecordEnd) {
    ToolNameRecord record{};
    record.Defined = 1;
    record.Name.fill('z');
    EXPECT_EQ(ToolNameText(record), std::string(80, 'z'));
}

TEST(ToolLines, NoProgrammedToolGivesNoLines) {
    ConfigState state;
    state.ToolLines = {"old"};
    Name(state, 40, "orphan"); // a name alone makes no line
    BuildToolLines(state);
    EXPECT_TRUE(state.ToolLines.empty());
    for (int32_t index : state.ToolLineIndex) {
        EXPECT_EQ(index, -1);
    }
}

TEST(ToolLines, IndexMapsToolNumbersToLines) {
    ConfigState state;
    Program(state, 3, 1.0F, 1.0F, 1);
    Program(state, 10, 2.0F, 1.0F, 1);
    BuildToolLines(state);
    ASSERT_EQ(state.ToolLines.size(), 2U);
    for (int n = 0; n < ToolSlotCount; ++n) {
        const int32_t expected = n == 3 ? 0 : n == 10 ? 1 : -1;
        EXPECT_EQ(state.ToolLineIndex[static_cast<size_t>(n)], expected) << n;
    }
    EXPECT_EQ(ToolNumberOfLine(state, 0), 3);
    EXPECT_EQ(ToolNumberOfLine(state, 1), 10);
}

TEST(ToolLines, LineOutsideTheListHasNoTool) {
    ConfigState state;
    Program(state, 3, 1.0F, 1.0F, 1);
    BuildToolLines(state);
    EXPECT_EQ(ToolNumberOfLine(state, -1), -1);
    EXPECT_EQ(ToolNumberOfLine(state, 1), -1);
}

TEST(FirmwareText, FormatsVersionAndDate) {
    // DeviceVariant, FwDate2, FwDate1, FwDate3, FwMinor, FwMajor
    EXPECT_EQ(FirmwareVersionText(FirmwareInfo{4, 8, 24, 4, 4, 1}), "V1.04  24/08/04");
    EXPECT_EQ(FirmwareVersionText(FirmwareInfo{0, 255, 0, 0, 255, 200}), "V200.255  00/255/00");
}

TEST(SourceSuffixText, NamesUnitOrFile) {
    ConfigState state;
    state.ConfigSource = ConfigSource::Unit;
    state.ConfigFileName = "/data/VGL_12345678.CD";
    EXPECT_EQ(SourceSuffix(state), " / Vigilo");
    state.ConfigSource = ConfigSource::File;
    EXPECT_EQ(SourceSuffix(state), " / VGL_12345678.CD");
    state.ConfigSource = ConfigSource::None;
    state.ConfigFileName.clear();
    EXPECT_EQ(SourceSuffix(state), " / ");
}

TEST(Hundredths, TextOfQuotientAndTwoDigitRemainder) {
    EXPECT_EQ(HundredthsText(12000), "120.00");
    EXPECT_EQ(HundredthsText(300), "3.00");
    EXPECT_EQ(HundredthsText(5), "0.05");
    EXPECT_EQ(HundredthsToValue(0), 0.0F);
    EXPECT_EQ(HundredthsToValue(30000), 300.0F);
    EXPECT_EQ(HundredthsToValue(115), 1.15F);
}

TEST(Hundredths, NegativeTextCarriesTheSignOnce) {
    EXPECT_EQ(HundredthsText(-5), "-0.05");
    EXPECT_EQ(HundredthsText(-12345), "-123.45");
    EXPECT_EQ(HundredthsText(std::numeric_limits<int32_t>::min()), "-21474836.48");
    EXPECT_EQ(HundredthsToValue(-5), -0.05F);
}

TEST(Hundredths, FromValueTruncatesAfterRoundingToSixDecimals) {
    EXPECT_EQ(ValueToHundredths(1.15), 115);
    EXPECT_EQ(ValueToHundredths(3.0), 300);
    EXPECT_EQ(ValueToHundredths(0.999), 99);
    EXPECT_EQ(ValueToHundredths(2.675), 267);
    EXPECT_EQ(ValueToHundredths(120.0), 12000);
    EXPECT_EQ(ValueToHundredths(-1.155), -115);
    EXPECT_EQ(ValueToHundredths(-0.001), 0);
}

TEST(Hundredths, FromValueOutsideTheRangeIsClamped) {
    EXPECT_EQ(ValueToHundredths(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ValueToHundredths(-1e300), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ValueToHundredths(std::numeric_limits<double>::quiet_NaN()), 0);
}

// The windows set the C library's locale from the environment; the texts must not follow it.
// NOLINTBEGIN(concurrency-mt-unsafe): the test switches the locale on its only thread
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
            std::setlocale(LC_ALL, "de_DE.utf8") == nullptr) {
            GTEST_SKIP() << "no German locale installed";
        }
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(CommaLocale, TextsKeepThePoint) {
    ConfigState state;
    Program(state, 17, 1.15F, 0.7F, 0);
    BuildToolLines(state);
    EXPECT_EQ(state.ToolLines[0], " 017     1.15   0.70    0    ");
    EXPECT_EQ(HundredthsText(12000), "120.00");
    EXPECT_EQ(HundredthsToValue(115), 1.15F);
    EXPECT_EQ(ValueToHundredths(2.675), 267);
    EXPECT_EQ(FirmwareVersionText(FirmwareInfo{4, 8, 24, 4, 4, 1}), "V1.04  24/08/04");
}
// NOLINTEND(concurrency-mt-unsafe)

} // namespace
} // namespace vg
