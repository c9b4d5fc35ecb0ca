#include "common/ProgramInfo.h"
#include "config/FileTestSupport.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace vg {
namespace {

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs a program of this build through the shell; `environment` is put before it as
// `env` arguments ("-u DISPLAY", "QT_QPA_PLATFORM=xcb").
Outcome RunProgram(const std::string& program, const std::string& arguments,
                   const std::string& environment = "") {
    test::TempDir capture;
    const std::string command = "env " + environment + " '" + VG_BIN_DIR + "/" + program + "' " +
                                arguments + " 2>'" + (capture / "err").string() + "'";
    Outcome run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n = 0; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            run.Out.append(buffer, n);
        }
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.Err = test::ReadBytes(capture / "err");
    return run;
}

class ProgramConventionsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProgramConventionsTest, HelpAndVersionAnswerOnStandardOutput) {
    // Without a display: the program with windows must answer before it opens any.
    const std::string noDisplay = "-u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";
    for (const std::string help : {"--help", "-h"}) {
        const Outcome run = RunProgram(GetParam(), help, noDisplay);
        EXPECT_EQ(run.Status, 0) << help << ": " << run.Err;
        EXPECT_NE(run.Out.find(GetParam() + " ["), std::string::npos) << run.Out;
        EXPECT_EQ(run.Err, "");
        // Readable on an 80-column terminal; only the folders in use may be longer.
        std::istringstream lines(run.Out);
        for (std::string line; std::getline(lines, line);) {
            if (line.find(VG_BIN_DIR) == std::string::npos) {
                EXPECT_LE(line.size(), 80u) << line;
            }
        }
    }
    const Outcome version = RunProgram(GetParam(), "--version", noDisplay);
    EXPECT_EQ(version.Status, 0) << version.Err;
    EXPECT_EQ(version.Out, GetParam() + " " + ProgramVersion + "\n");
}

TEST_P(ProgramConventionsTest, AnUnknownOptionIsAUsageError) {
    // Told before any window system starts, so also without a display.
    for (const std::string environment :
         {"QT_QPA_PLATFORM=offscreen", "-u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb"}) {
        const Outcome run = RunProgram(GetParam(), "--frobnicate", environment);
        EXPECT_EQ(run.Status, 2) << environment << ": " << run.Err;
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find("frobnicate"), std::string::npos) << run.Err;
    }
}

std::vector<std::string> Programs() {
#ifdef VG_HAVE_WINDOWS
    return {"vgctl", "vigilo-sim", "vgconfig"};
#else
    return {"vgctl", "vigilo-sim"};
#endif
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramConventionsTest, ::testing::ValuesIn(Programs()),
                         [](const auto& param) {
                             std::string name = param.param;
                             std::erase(name, '-');
                             return name;
                         });

#ifdef VG_HAVE_WINDOWS
TEST(WindowsProgram, WithoutADisplaySaysSoOnOneLine) {
    // The toolkit's own options are taken, not refused as unknown.
    for (const std::string arguments : {"", "-style Fusion", "--reverse"}) {
        const Outcome run =
            RunProgram("vgconfig", arguments, "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
        EXPECT_EQ(run.Status, 1) << arguments << ": " << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        EXPECT_NE(run.Err.find("DISPLAY"), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("WAYLAND_DISPLAY"), std::string::npos) << run.Err;
    }
}
#endif

TEST(SimulatorOptions, AnEmptyValueIsAUsageError) {
    const Outcome run = RunProgram("vigilo-sim", "--link ''");
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("empty value for --link"), std::string::npos) << run.Err;
}

} // namespace
} // namespace vg
