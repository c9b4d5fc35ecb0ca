#include "config/FileTestSupport.h"
#include "config/model/ConfigImage.h"
#include "support/ChildProcess.h"
#include "support/OtherUser.h"
#include "support/PtyPair.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace vg {
namespace {

using test::ReadBytes;
using test::WriteBytes;

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs the real vgctl with stdout and stderr in files, or stderr on `errTerminal`, or stdout
// into `outFile` (which is not read back).
Outcome RunVgctl(const std::vector<std::string>& args, const std::string& errTerminal = "",
                 const std::string& outFile = "") {
    test::TempDir capture;
    const std::string outPath = outFile.empty() ? (capture / "out").string() : outFile;
    const std::string errPath = errTerminal.empty() ? (capture / "err").string() : errTerminal;
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0600);
    Outcome run;
    run.Status = test::WaitForExit(test::SpawnBuiltProgram("vgctl", args, in, out, err));
    for (int fd : {in, out, err}) {
        close(fd);
    }
    run.Out = outFile.empty() ? ReadBytes(outPath) : "";
    run.Err = errTerminal.empty() ? ReadBytes(errPath) : "";
    return run;
}

using test::GoldenImage;
using test::GoldenNames;

// A program directory whose Konfig.Cfg chooses the serial line and whose COM1 is the
// simulator's terminal.
class VgctlTest : public ::testing::Test {
protected:
    explicit VgctlTest(const std::string& unitIdentifier = "00001234",
                       const std::vector<std::string>& moreUnitOptions = {})
        : Sim(UnitOptions(unitIdentifier, moreUnitOptions)) {
        WriteBytes(Dir / "Konfig.Cfg", "A:50\r\nC:1\r\nM:2\r\n");
        std::filesystem::create_directory(Dir / "CD_DATA");
    }
    std::string Path(const std::string& name) const { return (Dir / name).string(); }
    std::vector<std::string> UnitOptions(const std::string& unitIdentifier,
                                         const std::vector<std::string>& more) const {
        std::vector<std::string> options = {
            "--link",       Path("COM1"), "--variant",        "4", "--cu-id", unitIdentifier,
            "--demo-tools", "--tool",     "127:359.99:25.5:3"};
        options.insert(options.end(), more.begin(), more.end());
        return options;
    }
    Outcome Vgctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--dir", Dir.ProgramDir()});
        return RunVgctl(args);
    }
    test::TempDir Dir;
    test::SimProcess Sim;
};

// A unit that answers a write of tool 3 as done but keeps an angle one degree greater.
class VgctlMisstoringUnitTest : public VgctlTest {
protected:
    VgctlMisstoringUnitTest() : VgctlTest("00001234", {"--misstore", "3"}) {}
};

// A unit whose namespace block holds no identifier.
class VgctlUnitWithoutIdentifierTest : public VgctlTest {
protected:
    VgctlUnitWithoutIdentifierTest() : VgctlTest("12ab5678") {}
};

// A unit that takes its time over every answer: a transfer lasts seconds.
class VgctlSlowUnitTest : public VgctlTest {
protected:
    VgctlSlowUnitTest() : VgctlTest("00001234", {"--delay", "20"}) {}
};

TEST_F(VgctlTest, UploadWritesTheUnitsFileAndShowPrintsIt) {
    WriteBytes(Dir / "CD_DATA" / "VGL_00001234.NS", GoldenNames());
    const Outcome up = Vgctl({"upload", Path("unit.CD")});
    EXPECT_EQ(up.Status, 0) << up.Err;
    EXPECT_EQ(up.Out, "File save successfull!\n");
    EXPECT_EQ(up.Err, "") << "no progress when stderr is not a terminal";

    // The simulator's factory settings and its demonstration tools.
    ConfigImage expected{};
    expected.Monitoring = 1;
    expected.RotDir = 1;
    expected.PowerOnMove = 1;
    expected.Scanner = 1;
    expected.Out1Polarity = 1;
    expected.Out2Polarity = 1;
    expected.DefaultAngle = 12000;
    expected.DefaultTolerance = 300;
    expected.DefaultIntensity = 1;
    expected.SignalMode = 1;
    expected.OutPulseTime = 20 + 1; // as stored in the file
    expected.Tools[1] = {1, 90.0F, 2.0F, 3};
    expected.Tools[2] = {1, 45.5F, 1.0F, 1};
    expected.Tools[5] = {1, 160.0F, 1.0F, 1};
    expected.Tools[17] = {1, 1.15F, 0.7F, 0};
    expected.Tools[42] = {1, 65.43F, 1.5F, 2};
    expected.Tools[127] = {1, 359.99F, 25.5F, 3};
    const std::string bytes = ReadBytes(Dir / "unit.CD");
    ASSERT_EQ(bytes.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(bytes.data(), &expected, sizeof expected), 0);
    EXPECT_EQ(ReadBytes(Dir / "unit.NS"), GoldenNames());

    const Outcome show = Vgctl({"show", Path("unit.CD")});
    EXPECT_EQ(show.Status, 0) << show.Err;
    EXPECT_NE(show.Out.find("    VG_Configuration"), std::string::npos);
    EXPECT_NE(show.Out.find("    Configuration:                File: unit.CD\n"),
              std::string::npos);
    EXPECT_NE(show.Out.find("      Out Pulse Time [msec]:      20\n"), std::string::npos);
    EXPECT_NE(show.Out.find("      Default Angle:              120.00\n"), std::string::npos);
    EXPECT_NE(show.Out.find("       001    90.00   2.00    3    \n"), std::string::npos);
    EXPECT_NE(show.Out.find("       017     1.15   0.70    0    \n"), std::string::npos);
    EXPECT_EQ(show.Out.find("drill"), std::string::npos) << "tool 3 is not programmed";
    EXPECT_NE(show.Out.find("       127   359.99  25.50    3    Fr\u00e4ser \u00d86\n"),
              std::string::npos)
        << "the name's Windows-1252 bytes reach the terminal as UTF-8";
    EXPECT_EQ(show.Out.find('\f'), std::string::npos) << "six tools fit on one page";
}

TEST_F(VgctlTest, ControlBytesInANameKeepTheReportsRowsAndPages) {
    WriteBytes(Dir / "VGL_00001234.CD", GoldenImage());
    std::string names = GoldenNames();
    const std::string name = "line\nfeed\fform\x1b[2Jesc";
    std::memcpy(names.data() + 3 * 84 + 4, name.c_str(), name.size() + 1); // tool 3
    WriteBytes(Dir / "VGL_00001234.NS", names);
    const Outcome show = Vgctl({"show", Path("VGL_00001234.CD")});
    EXPECT_EQ(show.Status, 0) << show.Err;
    EXPECT_NE(show.Out.find("\n       003   160.00   1.00    1    "
                            "line\ufffdfeed\ufffdform\ufffd[2Jesc\n       017 "),
              std::string::npos)
        << show.Out;
    EXPECT_EQ(show.Out.find('\f'), std::string::npos) << "three tools fit on one page";
}

TEST_F(VgctlTest, AValueTheUnitCannotHoldIsMarkedByShowAndRefusedByDownload) {
    std::string image = GoldenImage();
    const float angle = 700.0F;
    std::memcpy(image.data() + 76 + 3 * 16 + 4, &angle, sizeof angle); // tool 3
    WriteBytes(Dir / "VGL_00001234.CD", image);
    WriteBytes(Dir / "VGL_00001234.NS", GoldenNames());
    const std::string reason = "Tool 3: Angle 700.00 is outside 0.00 to 655.35";

    const Outcome show = Vgctl({"show", Path("VGL_00001234.CD")});
    EXPECT_EQ(show.Status, 0) << show.Err;
    EXPECT_NE(show.Out.find("\n!      003   700.00   1.00    1    drill 2,5 mm\n"),
              std::string::npos)
        << show.Out;
    EXPECT_EQ(show.Out.find("\n!      017"), std::string::npos);
    EXPECT_EQ(show.Err, "vgctl: ! " + reason + "\n");

    const Outcome down = Vgctl({"download", Path("VGL_00001234.CD")});
    EXPECT_EQ(down.Status, 1);
    EXPECT_EQ(down.Err, "Values out of range; nothing was sent to the unit:\n" + reason + "\n");
    EXPECT_EQ(down.Out, "");
}

TEST_F(VgctlUnitWithoutIdentifierTest, UploadKeepsTheNamesBesideTheTarget) {
    WriteBytes(Dir / "unit.NS", GoldenNames());
    const Outcome up = Vgctl({"upload", Path("unit.CD")});
    EXPECT_EQ(up.Status, 0) << up.Err;
    EXPECT_EQ(up.Out, "File save successfull!\n");
    EXPECT_EQ(up.Err, "No Namespace-Information in VG.Module found!\n"
                      "vgctl: the unit names no tool-name file; the names in " +
                          Path("unit.NS") + " are kept\n");
    EXPECT_TRUE(ReadBytes(Dir / "unit.NS") == GoldenNames()) << "the names were overwritten";
    EXPECT_EQ(ReadBytes(Dir / "unit.CD").size(), sizeof(ConfigImage));
}

TEST_F(VgctlTest, DownloadLeavesTheUnitHoldingTheFile) {
    WriteBytes(Dir / "VGL_00001234.CD", GoldenImage());
    WriteBytes(Dir / "VGL_00001234.NS", GoldenNames());
    const Outcome down = Vgctl({"download", Path("VGL_00001234.CD")});
    EXPECT_EQ(down.Status, 0) << down.Err;
    EXPECT_EQ(down.Out, "Save Data to VGL successfull!\n");
    EXPECT_EQ(ReadBytes(Dir / "CD_DATA" / "VGL_00001234.NS"), GoldenNames());

    const Outcome up = Vgctl({"upload", Path("back.CD")});
    ASSERT_EQ(up.Status, 0) << up.Err;
    ConfigImage expected;
    std::memcpy(&expected, GoldenImage().data(), sizeof expected);
    expected.Reserved1 = 0; // never sent to the unit
    expected.Reserved2.fill(0);
    expected.Tools[50] = {}; // an empty slot's old values stay in the file
    const std::string bytes = ReadBytes(Dir / "back.CD");
    ASSERT_EQ(bytes.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(bytes.data(), &expected, sizeof expected), 0);
    EXPECT_EQ(ReadBytes(Dir / "back.NS"), GoldenNames());
}

TEST_F(VgctlMisstoringUnitTest, DownloadWithVerifyNamesWhatTheUnitKeptOtherwise) {
    WriteBytes(Dir / "VGL_00001234.CD", GoldenImage());
    WriteBytes(Dir / "VGL_00001234.NS", GoldenNames());
    const Outcome plain = Vgctl({"download", Path("VGL_00001234.CD")});
    EXPECT_EQ(plain.Status, 0) << "without --verify nothing is read back";
    const Outcome down = Vgctl({"download", "--verify", Path("VGL_00001234.CD")});
    EXPECT_EQ(down.Status, 1);
    EXPECT_EQ(down.Out, "Save Data to VGL successfull!\n"
                        "Verify failed: the unit keeps 1 value other than sent.\n")
        << "whoever reads only stdout learns that the download did not hold";
    EXPECT_EQ(down.Err, "vgctl: tool 3: angle 160.00 sent, 161.00 stored\n");
}

TEST_F(VgctlTest, DownloadWithVerifyOfAUnitThatKeepsWhatItGets) {
    WriteBytes(Dir / "VGL_00001234.CD", GoldenImage());
    WriteBytes(Dir / "VGL_00001234.NS", GoldenNames());
    const Outcome down = Vgctl({"download", "--verify", Path("VGL_00001234.CD")});
    EXPECT_EQ(down.Status, 0) << down.Err;
    EXPECT_EQ(down.Err, "");
}

TEST_F(VgctlTest, DiffTellsWhetherUnitAndFileDiffer) {
    WriteBytes(Dir / "VGL_00001234.CD", GoldenImage());
    ASSERT_EQ(Vgctl({"download", Path("VGL_00001234.CD")}).Status, 0);
    const Outcome same = Vgctl({"diff", Path("VGL_00001234.CD")});
    EXPECT_EQ(same.Status, 0) << same.Err;
    EXPECT_EQ(same.Out, "Unit and file are the same.\n");

    std::string image = GoldenImage();
    const float angle = 170.5F;
    std::memcpy(image.data() + 76 + 3 * 16 + 4, &angle, sizeof angle); // tool 3
    WriteBytes(Dir / "VGL_00001234.CD", image);
    const Outcome differ = Vgctl({"diff", Path("VGL_00001234.CD")});
    EXPECT_EQ(differ.Status, 3) << differ.Err;
    EXPECT_EQ(differ.Out, "tool 3: angle 170.50 in file, 160.00 in unit\n");
    EXPECT_EQ(differ.Err, "");
}

TEST_F(VgctlTest, ATraceThatCannotBeWrittenFailsTheCommand) {
    const Outcome full = Vgctl({"--trace", "/dev/full", "status"});
    EXPECT_EQ(full.Status, 1);
    EXPECT_NE(full.Out.find("Online: yes"), std::string::npos) << "the command itself ran";
    EXPECT_EQ(full.Err, "vgctl: the trace is incomplete: /dev/full: No space left on device\n");
    const Outcome nowhere = Vgctl({"--trace", Path("missing/trace.txt"), "status"});
    EXPECT_EQ(nowhere.Status, 1);
    EXPECT_EQ(nowhere.Out, "") << "nothing is done without the trace asked for";
    EXPECT_EQ(nowhere.Err, "vgctl: cannot write the trace: " + Path("missing/trace.txt") +
                               ": No such file or directory\n");
}

// A trace never alters a file that is not one: a slip of the fingers must not cost a
// configuration.
TEST_F(VgctlTest, ATraceGoesOnlyIntoANewFileOrAfterAnotherTrace) {
    WriteBytes(Dir / "VGL_00001234.CD", GoldenImage());
    const Outcome refused = Vgctl({"--trace", Path("VGL_00001234.CD"), "status"});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Out, "") << "nothing is done before the trace can be written";
    EXPECT_EQ(refused.Err, "vgctl: cannot write the trace: " + Path("VGL_00001234.CD") +
                               ": not a line trace, and only a trace is written to\n");
    EXPECT_TRUE(ReadBytes(Dir / "VGL_00001234.CD") == GoldenImage());

    const std::string head = "# VG-Config line trace: vgctl ";
    ASSERT_EQ(Vgctl({"--trace", Path("trace.txt"), "status"}).Status, 0);
    const std::string first = ReadBytes(Dir / "trace.txt");
    ASSERT_EQ(first.compare(0, head.size(), head), 0) << first;
    const size_t started = first.find(", started ");
    ASSERT_NE(started, std::string::npos);
    // ISO 8601: 2026-12-07T23:58:01.250Z
    const std::string when = first.substr(started + 10, 24);
    EXPECT_EQ(when[4], '-');
    EXPECT_EQ(when[10], 'T');
    EXPECT_EQ(when[19], '.');
    EXPECT_EQ(when[23], 'Z');
    EXPECT_NE(first.find(" TX "), std::string::npos);

    ASSERT_EQ(Vgctl({"--trace", Path("trace.txt"), "status"}).Status, 0);
    const std::string both = ReadBytes(Dir / "trace.txt");
    EXPECT_EQ(both.compare(0, first.size(), first), 0) << "the first trace is kept";
    EXPECT_NE(both.find("\n" + head, first.size() - 1), std::string::npos);
}

TEST_F(VgctlTest, ATraceFollowsNoFolderLinkAnotherUserPlanted) {
    if (!test::CanActAsOtherUser()) {
        GTEST_SKIP() << "needs root to make a link of another user";
    }
    std::filesystem::create_directory(Dir / "shared");
    std::filesystem::permissions(Dir / "shared", std::filesystem::perms::all);
    std::filesystem::create_directory(Dir / "private");
    const std::string link = Path("shared/logs");
    std::filesystem::create_directory_symlink(Dir / "private", link);
    ASSERT_EQ(::lchown(link.c_str(), test::NobodyId, test::NobodyId), 0);
    const Outcome run = Vgctl({"--trace", link + "/trace.txt", "status"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
              "vgctl: cannot write the trace: " + link + "/trace.txt: Permission denied\n");
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "private"));
}

// A file name is anyone's text: its control bytes must not reach the terminal as they are.
TEST_F(VgctlTest, ControlBytesInANameAreEscapedOnTheTerminal) {
    const std::string name = Path("a\x1b[2J\nb.CD");
    const Outcome show = Vgctl({"show", name});
    EXPECT_EQ(show.Status, 1);
    EXPECT_EQ(show.Err, "vgctl: cannot read " + Path("a\\x1b[2J\\x0ab.CD") + "\n");
}

TEST_F(VgctlTest, TheIdentifierForNamesComesFromTheCommandLine) {
    // The file's name carries no identifier, but it has names.
    WriteBytes(Dir / "mine.CD", GoldenImage());
    WriteBytes(Dir / "mine.NS", GoldenNames());
    const std::string question = "No Namespace-Identifier available!\nToolnames will be lost! "
                                 "\nWould you enter the namespace-identifier?\n";

    const Outcome bad = Vgctl({"download", Path("mine.CD"), "--cu-id", "1234567x"});
    EXPECT_EQ(bad.Status, 2);
    EXPECT_EQ(bad.Err, "Please enter 8 numeric digits (0..9)!\n");

    const Outcome without = Vgctl({"download", Path("mine.CD")});
    EXPECT_EQ(without.Status, 0) << without.Err;
    EXPECT_EQ(without.Err, question + "-> No\n");
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "CD_DATA"));

    const Outcome with = Vgctl({"download", Path("mine.CD"), "--cu-id", "00007777"});
    EXPECT_EQ(with.Status, 0) << with.Err;
    EXPECT_EQ(with.Err, question + "-> Yes\n");
    EXPECT_EQ(with.Out, "Save Data to VGL successfull!\n");
    EXPECT_EQ(ReadBytes(Dir / "CD_DATA" / "VGL_00007777.NS"), GoldenNames());
    // The unit now names the new identifier: an upload finds the names there.
    ASSERT_EQ(Vgctl({"upload", Path("again.CD")}).Status, 0);
    EXPECT_EQ(ReadBytes(Dir / "again.NS"), GoldenNames());
}

TEST_F(VgctlTest, AFailedUploadLeavesTheTargetAlone) {
    WriteBytes(Dir / "CD_DATA" / "VGL_00001234.NS", std::string(3000, 'n'));
    WriteBytes(Dir / "unit.CD", "previous");
    const Outcome up = Vgctl({"upload", Path("unit.CD")});
    EXPECT_EQ(up.Status, 1);
    EXPECT_EQ(up.Err, "Namespace-File has illegal size!\nError in Namespace-File\n");
    EXPECT_EQ(ReadBytes(Dir / "unit.CD"), "previous");
    EXPECT_FALSE(std::filesystem::exists(Dir / "unit.NS"));

    // The unit is read, but the file cannot be written.
    std::filesystem::remove(Dir / "CD_DATA" / "VGL_00001234.NS");
    const Outcome nowhere = Vgctl({"upload", Path("missing/unit.CD")});
    EXPECT_EQ(nowhere.Status, 1);
    EXPECT_EQ(nowhere.Err,
              "File Write Error!\n" + Path("missing/unit.CD") + ": No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(Dir / "missing"));
}

TEST_F(VgctlTest, FilesThatCannotBeLoadedAreNeverSent) {
    WriteBytes(Dir / "short.CD", std::string(2125, '\0'));
    const Outcome illegal = Vgctl({"download", Path("short.CD")});
    EXPECT_EQ(illegal.Status, 1);
    EXPECT_EQ(illegal.Err, "Konfig-File has illegal size!\n");

    // A mistyped name would otherwise send an empty configuration and wipe the unit's tools.
    const Outcome missing = Vgctl({"download", Path("VGL_00001235.CD")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("VGL_00001235.CD"), std::string::npos);
    const Outcome show = Vgctl({"show", Path("VGL_00001235.CD")});
    EXPECT_EQ(show.Status, 1);
    EXPECT_EQ(show.Out, "");

    ASSERT_EQ(Vgctl({"upload", Path("unit.CD")}).Status, 0);
    ConfigImage image;
    const std::string bytes = ReadBytes(Dir / "unit.CD");
    ASSERT_EQ(bytes.size(), sizeof image);
    std::memcpy(&image, bytes.data(), sizeof image);
    EXPECT_EQ(image.Tools[42].Programmed, 1) << "the unit kept its tools";
}

TEST_F(VgctlTest, ProgressIsDrawnOnATerminal) {
    test::PtyPair terminal;
    const Outcome up =
        RunVgctl({"--dir", Dir.ProgramDir(), "upload", Path("unit.CD")}, terminal.SlavePath());
    EXPECT_EQ(up.Status, 0);
    // The terminal buffers far more than the few kilobytes drawn; once vgctl has gone the
    // read ends at the hang-up.
    const auto seen = terminal.Read(1 << 20, std::chrono::seconds(5));
    const std::string text(seen.begin(), seen.end());
    EXPECT_NE(text.find("\rReading data from VGL. Please wait ... 0%"), std::string::npos);
    EXPECT_NE(text.find("\rReading data from VGL. Please wait ... 98%"), std::string::npos);
}

TEST(VgctlUsage, MistakesOnTheCommandLineExitWith2) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{},
          {"frobnicate"},
          {"upload"},
          {"show", "a.CD", "b.CD"},
          {"upload", "a.CD", "--cu-id", "12345678"},
          {"upload", "a.CD", "--verify"},
          {"status", "--csv"},
          {"diff"},
          {"--port", "COM1", "--fieldbus", "status"},
          {"--fieldbus-driver", "a.so", "--port=COM1", "status"},
          {"--simulated", "--port", "COM1", "status"},
          {"--fieldbus-driver", "a.so", "--simulated", "status"},
          {"--trace", "t.txt", "show", "a.CD"},
          {"--trace", "t.txt", "ports"},
          {"upload", "a.CD", "--dir"},
          {"--dir", "", "status"},
          {"--dir", "/no/such/folder", "status"},
          {"--port", "COM7", "status"},
          {"--port", "COM1x", "status"},
          {"--fieldbus=yes", "status"},
          {"--frobnicate", "status"}}) {
        const Outcome run = RunVgctl(args);
        EXPECT_EQ(run.Status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.Err.find("usage: vgctl"), std::string::npos);
        EXPECT_EQ(run.Out, "");
    }
}

TEST_F(VgctlTest, OptionsTakeTheirValueAfterAnEqualsSignAndAfterTheCommand) {
    const Outcome run = Vgctl({"status", "--port=COM1"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("Online: yes\n"), std::string::npos) << run.Out;
}

// "--port $PORT" with the variable unset must not fall back to Konfig.Cfg, whose default is
// the fieldbus and so the built-in simulated unit: that would report a download as done and
// fill the user's file from a unit that is not there.
TEST(VgctlPort, AnEmptyPortIsAUsageErrorAndNothingIsSentOrWritten) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "CD_DATA");
    WriteBytes(dir / "VGL_00001234.CD", GoldenImage());
    WriteBytes(dir / "VGL_00001234.NS", GoldenNames());
    for (const std::vector<std::string>& port :
         {std::vector<std::string>{"--port", ""}, {"--port="}}) {
        std::vector<std::string> upload = {"--dir", dir.ProgramDir()};
        upload.insert(upload.end(), port.begin(), port.end());
        std::vector<std::string> download = upload;
        upload.insert(upload.end(), {"upload", (dir / "unit.CD").string()});
        download.insert(download.end(), {"download", (dir / "VGL_00001234.CD").string()});

        const Outcome up = RunVgctl(upload);
        EXPECT_EQ(up.Status, 2);
        EXPECT_EQ(up.Out, "");
        EXPECT_NE(up.Err.find("empty value for --port"), std::string::npos) << up.Err;
        EXPECT_FALSE(std::filesystem::exists(dir / "unit.CD"));
        const Outcome down = RunVgctl(download);
        EXPECT_EQ(down.Status, 2);
        EXPECT_EQ(down.Out, "") << "nothing was sent";
        EXPECT_TRUE(std::filesystem::is_empty(dir / "CD_DATA"));
    }
}

// Without a unit chosen nothing may be answered by the built-in simulated unit: a restore
// script would succeed without touching a unit, a backup would hold the simulator's tools.
TEST(VgctlUnitChoice, NoUnitChosenFailsEveryCommandThatNeedsOne) {
    for (const std::string& settings : {std::string(), std::string("A:50\r\nC:1\r\nM:1\r\n"),
                                        std::string("M:1\r\nD :/usr/lib/libvgdp-card.so\r\n")}) {
        test::TempDir dir;
        std::filesystem::create_directory(dir / "CD_DATA");
        if (!settings.empty()) {
            WriteBytes(dir / "Konfig.Cfg", settings);
        }
        WriteBytes(dir / "VGL_00001234.CD", GoldenImage());
        const std::string file = (dir / "VGL_00001234.CD").string();
        for (const std::vector<std::string>& command : {std::vector<std::string>{"download", file},
                                                        {"upload", (dir / "unit.CD").string()},
                                                        {"diff", file},
                                                        {"status"},
                                                        {"watch"}}) {
            std::vector<std::string> args = {"--dir", dir.ProgramDir()};
            args.insert(args.end(), command.begin(), command.end());
            const Outcome run = RunVgctl(args);
            EXPECT_EQ(run.Status, 1) << settings << command.front();
            EXPECT_EQ(run.Out, "") << command.front();
            EXPECT_NE(run.Err.find("vgctl: no unit is chosen."), std::string::npos) << run.Err;
            for (const char* way : {"--port", "--fieldbus-driver", "D:", "--simulated"}) {
                EXPECT_NE(run.Err.find(way), std::string::npos) << way;
            }
        }
        EXPECT_TRUE(std::filesystem::is_empty(dir / "CD_DATA")) << "nothing was sent";
        EXPECT_FALSE(std::filesystem::exists(dir / "unit.CD"));

        const Outcome trial =
            RunVgctl({"--dir", dir.ProgramDir(), "--simulated", "download", file});
        EXPECT_EQ(trial.Status, 0) << trial.Err;
        EXPECT_EQ(trial.Out, "Save Data to VGL successfull!\n");
    }
}

// The defaults apply as without the file, but the user learns that the file was not read.
TEST(VgctlUnitChoice, ASettingsFileThatCannotBeReadIsSaid) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "Konfig.Cfg");
    const Outcome run = RunVgctl({"--dir", dir.ProgramDir(), "--simulated", "status"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("Online: yes\n"), std::string::npos);
    EXPECT_EQ(run.Err,
              "vgctl: cannot read " + (dir / "Konfig.Cfg").string() + ": Is a directory\n");
    std::filesystem::create_directory(dir / "empty");
    const Outcome none = RunVgctl({"--dir", (dir / "empty").string(), "--simulated", "status"});
    EXPECT_EQ(none.Status, 0) << none.Err;
    EXPECT_EQ(none.Err, "") << "a missing file is the defaults, without a word";
}

// Waits at most `seconds` for the child; -2 (and the child killed) when it was still running.
int WaitForExitWithin(pid_t pid, int seconds) {
    for (int i = 0; i < seconds * 100; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        usleep(10000);
    }
    kill(pid, SIGKILL);
    test::WaitForExit(pid);
    return -2;
}

TEST_F(VgctlTest, OutputThatCannotBeWrittenIsAFailure) {
    WriteBytes(Dir / "VGL_00001234.CD", GoldenImage());
    const std::string full = "/dev/full";
    const std::string said = "vgctl: cannot write the output: No space left on device\n";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", "--csv", Path("VGL_00001234.CD")},
          {"show", Path("VGL_00001234.CD")},
          {"diff", Path("VGL_00001234.CD")},
          {"status"},
          {"--version"}}) {
        std::vector<std::string> all = {"--dir", Dir.ProgramDir()};
        all.insert(all.end(), args.begin(), args.end());
        const Outcome run = RunVgctl(all, "", full);
        EXPECT_EQ(run.Status, 1) << args.front();
        EXPECT_EQ(run.Err, said) << args.front();
    }
    // A watch into a full disk stops at once instead of recording nothing for ever.
    test::TempDir capture;
    const int out = open(full.c_str(), O_WRONLY | O_CLOEXEC);
    const int err = open((capture / "err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const pid_t watch = test::SpawnBuiltProgram(
        "vgctl", {"--dir", Dir.ProgramDir(), "watch", "--csv"}, -1, out, err);
    close(out);
    close(err);
    EXPECT_EQ(WaitForExitWithin(watch, 10), 1);
    EXPECT_EQ(ReadBytes(capture / "err"), said);
}

// Killed half way, vgctl used to leave the terminal exclusive while the unit's end was held:
// every later open failed, blaming the program at the other end.
TEST_F(VgctlSlowUnitTest, AnInterruptedTransferGivesThePortBackAsItFoundIt) {
    const auto lineOf = [this](termios& line, int& exclusive) {
        const int fd = open(Sim.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(tcgetattr(fd, &line), 0);
        ASSERT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0) << "the lock is released";
        close(fd);
    };
    termios found{};
    int foundExclusive = -1;
    lineOf(found, foundExclusive);
    ASSERT_EQ(foundExclusive, 0);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        test::TempDir capture;
        const int err = open((capture / "err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const pid_t pid = test::SpawnBuiltProgram(
            "vgctl", {"--dir", Dir.ProgramDir(), "upload", Path("unit.CD")}, -1, -1, err);
        close(err);
        usleep(500000); // well into the transfer
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
            << "ends as the signal ends a program: " << status;
        EXPECT_EQ(ReadBytes(capture / "err"), "Interrupted: the transfer did not finish.\n");
        termios after{};
        int exclusive = -1;
        lineOf(after, exclusive);
        EXPECT_EQ(exclusive, 0) << "exclusive mode is off again";
        EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&found));
        EXPECT_EQ(after.c_lflag, found.c_lflag) << "the line settings are back";
        EXPECT_FALSE(std::filesystem::exists(Dir / "unit.CD"));
    }
}

TEST(VgctlPort, AMissingPortExitsWith1AndTheStartUpMessage) {
    test::TempDir dir;
    WriteBytes(dir / "Konfig.Cfg", "M:2\r\n");
    // COM1 names a terminal that is gone, as after the adapter was unplugged.
    std::filesystem::create_symlink(dir / "gone", dir / "COM1");
    const Outcome run = RunVgctl({"--dir", dir.ProgramDir(), "upload", (dir / "unit.CD").string()});
    EXPECT_EQ(run.Status, 1);
    const std::string link = (dir / "COM1").string(), gone = (dir / "gone").string();
    EXPECT_EQ(run.Err, "Init Communication failed! ErrorCode=C001H\nPort is not available or "
                       "occupied by another process.\nDevice " +
                           gone + ": No such file or directory\nCOM1 leads through " + link +
                           " to " + gone + ", which is not there: is the adapter plugged in?\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "unit.CD"));
}

} // namespace
} // namespace vg
