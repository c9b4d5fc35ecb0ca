#include "link/CommSettingsFile.h"

#include "FileTestSupport.h"
#include "support/TempDir.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

namespace vg {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class CommSettingsFileTest : public ::testing::Test {
protected:
    // Reads `text` as the settings file into fresh start-up settings.
    CommSettings ReadText(const std::string& text) {
        WriteBytes(dir / CommSettingsFileName, text);
        CommSettings settings;
        EXPECT_TRUE(ReadCommSettings(settings, dir.ProgramDir()));
        return settings;
    }

    test::TempDir dir;
};

TEST_F(CommSettingsFileTest, MissingFileGivesFieldbusAndKeepsTheOthers) {
    CommSettings settings;
    settings.Mode = CommMode::Serial;
    settings.ComPortNr = 4;
    EXPECT_FALSE(ReadCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(settings.Mode, CommMode::Fieldbus);
    EXPECT_EQ(settings.ComPortNr, 4);
    EXPECT_EQ(settings.DevAddr, 50);
}

TEST_F(CommSettingsFileTest, ANameThatDiffersOnlyInCaseIsReadAndWrittenBack) {
    // The writer's own spelling, as a copy from another installation carries it.
    WriteBytes(dir / "Konfig.CFG", "M:2\r\n");
    CommSettings settings;
    ASSERT_TRUE(ReadCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(settings.Mode, CommMode::Serial);
    settings.ComPortNr = 3;
    ASSERT_TRUE(WriteCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(ReadBytes(dir / "Konfig.CFG"), "A:50\r\nC:3\r\nM:2\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    WriteBytes(dir / CommSettingsFileName, "M:1\r\n");
    ASSERT_TRUE(ReadCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(settings.Mode, CommMode::Fieldbus) << "the exact name comes first";
}

TEST_F(CommSettingsFileTest, ModeLineAloneSelectsSerialWithDefaults) {
    const CommSettings settings = ReadText("M:2\r\n");
    EXPECT_EQ(settings.Mode, CommMode::Serial);
    EXPECT_EQ(settings.ComPortNr, 1);
    EXPECT_EQ(settings.DevAddr, 50);
}

TEST_F(CommSettingsFileTest, ModeKeyIgnoresCaseAndOnlyTwoMeansSerial) {
    EXPECT_EQ(ReadText("m:2\r\n").Mode, CommMode::Serial);
    EXPECT_EQ(ReadText("M:2").Mode, CommMode::Serial) << "last line without line end";
    EXPECT_EQ(ReadText("M:3\r\n").Mode, CommMode::Fieldbus);
    EXPECT_EQ(ReadText("M:serial\r\n").Mode, CommMode::Fieldbus);
    EXPECT_EQ(ReadText("M:\r\n").Mode, CommMode::Fieldbus);
    EXPECT_EQ(ReadText("M:2\r\nM:1\r\n").Mode, CommMode::Fieldbus) << "later line wins";
}

TEST_F(CommSettingsFileTest, NumbersAreTakenAsDecimal) {
    const CommSettings settings = ReadText("a:7\r\nC:9\r\n");
    EXPECT_EQ(settings.DevAddr, 7);
    EXPECT_EQ(settings.ComPortNr, 9) << "an impossible port is kept; opening it fails later";
    EXPECT_EQ(ReadText("C: 3 ports\n").ComPortNr, 3);
    EXPECT_EQ(ReadText("A:+12\n").DevAddr, 12);
}

TEST_F(CommSettingsFileTest, ValuesThatAreNoNumberLeaveTheSetting) {
    const CommSettings settings = ReadText("A:x\r\nC:\r\nA:99999999999\r\n");
    EXPECT_EQ(settings.DevAddr, 50);
    EXPECT_EQ(settings.ComPortNr, 1);
}

TEST_F(CommSettingsFileTest, CommentsShortLinesAndOtherKeysAreSkipped) {
    const CommSettings settings = ReadText(";C:4\r\nC\r\nA2:5\r\nX:9\r\n\r\nM;2\r\n");
    EXPECT_EQ(settings.ComPortNr, 1);
    EXPECT_EQ(settings.DevAddr, 50);
    EXPECT_EQ(settings.Mode, CommMode::Fieldbus);
}

TEST_F(CommSettingsFileTest, LongLinesAreJudgedInPiecesOf99) {
    // The second piece of a long comment starts with "M:2".
    EXPECT_EQ(ReadText(";" + std::string(98, 'x') + "M:2\r\n").Mode, CommMode::Serial);
    // Pieces are cut anywhere, also inside a setting.
    EXPECT_EQ(ReadText(";" + std::string(97, 'x') + "C:7\r\n").ComPortNr, 1);
    // A line of exactly 99 characters leaves its line end as a piece of its own.
    EXPECT_EQ(ReadText(";" + std::string(98, 'x') + "\r\nC:5\r\n").ComPortNr, 5);
}

TEST_F(CommSettingsFileTest, ZeroByteEndsALine) {
    EXPECT_EQ(ReadText(std::string("M:\0"
                                   "2\r\n",
                                   6))
                  .Mode,
              CommMode::Fieldbus);
    EXPECT_EQ(ReadText(std::string("C\0:4\r\n", 6)).ComPortNr, 1);
}

TEST_F(CommSettingsFileTest, WriterWritesThreeCrLfLines) {
    CommSettings settings;
    settings.Mode = CommMode::Fieldbus;
    ASSERT_TRUE(WriteCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(ReadBytes(dir / CommSettingsFileName), "A:50\r\nC:1\r\nM:1\r\n");

    settings = {6, 125, CommMode::Serial};
    ASSERT_TRUE(WriteCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(ReadBytes(dir / CommSettingsFileName), "A:125\r\nC:6\r\nM:2\r\n");

    CommSettings back;
    ASSERT_TRUE(ReadCommSettings(back, dir.ProgramDir()));
    EXPECT_EQ(back.ComPortNr, 6);
    EXPECT_EQ(back.DevAddr, 125);
    EXPECT_EQ(back.Mode, CommMode::Serial);
}

// The driver's line: its own key, taken whole however long, and written back after the three
// lines only when there is a driver.
TEST_F(CommSettingsFileTest, TheDriverLineIsReadWholeAndWrittenBackAfterTheOthers) {
    const std::string longPath = "/opt/" + std::string(120, 'x') + "/M:2/libvgdp.so";
    CommSettings settings = ReadText("A:7\r\nd:" + longPath + "\r\nC:4\r\n");
    EXPECT_EQ(settings.DriverPath, longPath);
    EXPECT_EQ(settings.Mode, CommMode::Fieldbus) << "a piece of the path is no setting";
    EXPECT_EQ(settings.ComPortNr, 4);
    EXPECT_EQ(ReadText("D:drivers/lib x.so").DriverPath, "drivers/lib x.so");
    EXPECT_EQ(ReadText("D:/a.so\r\nD:\r\n").DriverPath, "") << "later line wins";

    ASSERT_TRUE(WriteCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(ReadBytes(dir / CommSettingsFileName), "A:7\r\nC:4\r\nM:1\r\nD:" + longPath + "\r\n");
    settings.DriverPath.clear();
    ASSERT_TRUE(WriteCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(ReadBytes(dir / CommSettingsFileName), "A:7\r\nC:4\r\nM:1\r\n");
}

// A path is at most PATH_MAX bytes: a longer D: line is a mistake or an attack, never read
// into memory whole, and said with its line.
TEST_F(CommSettingsFileTest, ADriverLineLongerThanAnyPathIsIgnoredAndNamed) {
    const std::string huge(8 * 1024 * 1024, 'x');
    WriteBytes(dir / CommSettingsFileName, "M:2\r\nD:/a.so\r\nD:/" + huge + "\r\nC:4\r\n");
    CommSettings settings;
    std::string problem;
    ASSERT_TRUE(ReadCommSettings(settings, dir.ProgramDir(), &problem));
    EXPECT_EQ(settings.DriverPath, "/a.so") << "the earlier line stands";
    EXPECT_EQ(settings.ComPortNr, 4) << "the lines after it are read";
    EXPECT_EQ(settings.Mode, CommMode::Serial);
    EXPECT_EQ(problem, "line 3: the driver's path is longer than a path can be; the line is "
                       "ignored");
    const std::string longest = "/" + std::string(PATH_MAX - 2, 'y');
    WriteBytes(dir / CommSettingsFileName, "D:" + longest + "\r\n");
    problem.clear();
    ASSERT_TRUE(ReadCommSettings(settings, dir.ProgramDir(), &problem));
    EXPECT_EQ(settings.DriverPath, longest);
    EXPECT_EQ(problem, "");
}

TEST_F(CommSettingsFileTest, ADriverPathWithALineEndIsNotWritten) {
    WriteBytes(dir / CommSettingsFileName, "M:2\r\n");
    CommSettings settings;
    settings.DriverPath = "/tmp/a\nM:1.so";
    errno = 0;
    EXPECT_FALSE(WriteCommSettings(settings, dir.ProgramDir()));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(ReadBytes(dir / CommSettingsFileName), "M:2\r\n");
}

TEST_F(CommSettingsFileTest, FailedWriteKeepsThePreviousFile) {
    WriteBytes(dir / CommSettingsFileName, "M:2\r\n");
    // A directory where the temporary file would go makes the write fail.
    std::filesystem::create_directory(
        dir / (std::string(CommSettingsFileName) + ".tmp" + std::to_string(::getpid())));
    EXPECT_FALSE(WriteCommSettings(CommSettings{}, dir.ProgramDir()));
    EXPECT_EQ(ReadBytes(dir / CommSettingsFileName), "M:2\r\n");
}

TEST_F(CommSettingsFileTest, WriteFailsIntoAMissingDirectoryOrOverADirectory) {
    EXPECT_FALSE(WriteCommSettings(CommSettings{}, (dir / "missing").string() + "/"));
    std::filesystem::create_directory(dir / CommSettingsFileName);
    EXPECT_FALSE(WriteCommSettings(CommSettings{}, dir.ProgramDir()));
    EXPECT_TRUE(std::filesystem::is_directory(dir / CommSettingsFileName));
}

} // namespace
} // namespace vg
