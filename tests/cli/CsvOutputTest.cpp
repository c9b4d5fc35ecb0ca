#include "cli/CsvOutput.h"

#include "config/model/TextFormats.h"

#include <clocale>
#include <cstring>
#include <gtest/gtest.h>
#include <regex>

namespace vg::cli {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// A reader as RFC 4180 describes one: fields split at commas, a quoted field may hold commas,
// line breaks and doubled quotes.
Rows ReadCsv(const std::string& text) {
    Rows rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(row.empty() && field.empty() && !quoted) << "the text ends inside a row";
    return rows;
}

// NOLINTBEGIN(concurrency-mt-unsafe): the tests run on one thread.
class CsvUnderACommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            GTEST_SKIP() << "no German locale installed (scripts/setup.sh makes one)";
        }
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(CsvUnderACommaLocale, TheReportReadsBackIntoItsRowsWithPointsAndWholeNames) {
    ConfigState config;
    SetConfigDefaults(config.ConfigImage);
    config.ConfigImage.DefaultAngle = 12000;
    config.ConfigImage.OutPulseTime = 20;
    config.ConfigImage.Tools[5] = {1, 160.0F, 1.0F, 1};
    config.ConfigImage.Tools[17] = {1, 1.15F, 0.7F, 0};
    config.ConfigImage.Tools[20] = {0, 1.0F, 1.0F, 1};
    config.ToolNameTable[5].Defined = 1;
    std::strcpy(config.ToolNameTable[5].Name.data(), "drill 2,5 mm \"F\xE4ser\"");
    config.ToolNameTable[20].Defined = 1; // a name without a tool is not listed
    config.ConfigSource = ConfigSource::File;
    config.ConfigFileName = "/data/VGL_00001234.CD";

    const Rows rows = ReadCsv(ReportCsv(config));
    const Rows expected = {
        {"Configuration", "File: VGL_00001234.CD"},
        {"Scanner", "RZ41"},
        {"Out1", "N/O Normally Open"},
        {"Out2", "N/O Normally Open"},
        {"Out Pulse Time [msec]", "20"},
        {"Return Travel Monitoring", "Inactive"},
        {"Signal Mode", "at Home Position"},
        {"Monitoring", "Object"},
        {"Rotation Direction", "Clockwise"},
        {"Power On Move", "Active"},
        {"Default Angle", "120.00"},
        {"Default Tolerance", "3.00"},
        {"Default Intensity", "Low"},
        {"number", "angle", "tolerance", "intensity", "name"},
        {"5", "160.00", "1.00", "1", "drill 2,5 mm \"F\u00e4ser\""},
        {"17", "1.15", "0.70", "0", ""},
    };
    EXPECT_EQ(rows, expected);
}
// NOLINTEND(concurrency-mt-unsafe)

TEST(WatchCsv, EveryRowCarriesItsTimeAndTheFieldsInTheHeadersOrder) {
    StatusPicture online{true, 5, true, false, "Zero-Pos.", "90.00", "ERROR! Cable broken!", ""};
    StatusPicture offline;
    offline.Scanner = "-----";
    offline.Angle = "-----";
    const auto when = std::chrono::system_clock::now();
    const Rows rows =
        ReadCsv(WatchCsvHeader() + WatchCsvRow(online, when) + WatchCsvRow(offline, when));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time", "online", "tool", "out1", "out2",
                                                 "scanner", "angle", "message"}));
    const std::regex iso8601(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)");
    EXPECT_TRUE(std::regex_match(rows[1][0], iso8601)) << rows[1][0];
    EXPECT_EQ(rows[1], (std::vector<std::string>{rows[1][0], "yes", "5", "on", "off", "Zero-Pos.",
                                                 "90.00", "ERROR! Cable broken!"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{rows[2][0], "no", "", "off", "off", "", "", ""}));
}

// A tool name is text from anyone's file: opened in a spreadsheet it must never run as a
// formula. Numbers, negative ones too, stay numbers.
TEST(CsvCells, TextThatASpreadsheetWouldRunIsNeutralisedAndNumbersStay) {
    const std::string row = CsvRow({"=HYPERLINK(\"http://x\",\"y\")", "+1+cmd", "-2+3", "@SUM(A1)",
                                    "\tx", "\rx", "-5.00", "+3", "42", "drill = 3"});
    const Rows read = ReadCsv(row);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], (std::vector<std::string>{"'=HYPERLINK(\"http://x\",\"y\")", "'+1+cmd",
                                                 "'-2+3", "'@SUM(A1)", "'\tx", "'\rx", "-5.00",
                                                 "+3", "42", "drill = 3"}));
}

} // namespace
} // namespace vg::cli
