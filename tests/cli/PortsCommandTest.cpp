#include "cli/PortsCommand.h"

#include "cli/Vgctl.h"
#include "sim/SimSerialServer.h"
#include "support/PtyPair.h"
#include "support/RecordingTrace.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace vg::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool StartsWith(const std::string& line, const std::string& start) {
    return line.compare(0, start.size(), start) == 0;
}

// Two adapters: one with the simulated unit behind it, one with nothing connected.
TEST(VgctlPorts, ProbeTellsWhichFreePortHasAUnit) {
    test::TempDir dir;
    fs::create_directories(dir / "dev");
    sim::SimUnit unit;
    sim::SimSerialServer server(unit);
    std::string why;
    ASSERT_TRUE(server.Open(why) && server.LinkAs((dir / "dev" / "ttyUSB0").string(), why)) << why;
    server.Start();
    test::PtyPair silent;
    fs::create_symlink(silent.SlavePath(), dir / "dev" / "ttyUSB1");
    const SerialPortPlaces places{dir.ProgramDir() + "dev/", dir.ProgramDir() + "by-id/",
                                  dir.ProgramDir() + "by-path/", dir.ProgramDir() + "sys/"};

    std::ostringstream out;
    test::RecordingTrace trace;
    EXPECT_EQ(RunPortsCommand(dir.ProgramDir(), places, true, out, &trace), ExitSuccess);
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 3u) << out.str();
    EXPECT_TRUE(StartsWith(lines[0], "DEVICE")) << lines[0];
    for (const std::string& line : {lines[1], lines[2]}) {
        const bool unitThere = StartsWith(line, server.DevicePath() + " ");
        EXPECT_TRUE(unitThere || StartsWith(line, silent.SlavePath() + " ")) << line;
        EXPECT_NE(line.find(unitThere ? "  answers  " : "  no answer  "), std::string::npos)
            << line;
    }

    // --trace with --probe records each probe: its open, its request, the answer and the close.
    EXPECT_EQ(trace.DetailsOf(TraceEventKind::PortOpen).size(), 2u);
    EXPECT_EQ(trace.DetailsOf(TraceEventKind::UnitFound),
              std::vector<std::string>{server.DevicePath()});
    EXPECT_EQ(trace.DetailsOf(TraceEventKind::PortClose).size(), 2u);
    const auto frames = trace.Frames();
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                            [](const auto& f) { return f.Direction == TraceDirection::Tx; }),
              2);

    std::ostringstream plain;
    EXPECT_EQ(RunPortsCommand(dir.ProgramDir(), places, false, plain), ExitSuccess);
    EXPECT_EQ(plain.str().find("answer"), std::string::npos) << "nothing is asked without --probe";
}

} // namespace
} // namespace vg::cli
