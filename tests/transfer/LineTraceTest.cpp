#include "TransferFixture.h"
#include "link/FrameCodec.h"
#include "link/LineTraceFile.h"

#include <fstream>
#include <sstream>

namespace vg {
namespace {

// A transfer with the line traced into a file of the test's folder.
class LineTraceTest : public test::TransferTestBase<CommMode> {
protected:
    explicit LineTraceTest(CommMode mode = CommMode::Serial) : TransferTestBase(mode) {
        EXPECT_TRUE(Trace.Open(TracePath(), "vgctl"));
        W.World.Link.SetTrace(&Trace);
    }
    std::string TracePath() const { return (Dir / "trace.txt").string(); }
    // Ends the trace (nothing is on its way any more) and gives its lines.
    std::vector<std::string> TraceLines() {
        W.World.Link.SetTrace(nullptr);
        EXPECT_TRUE(Trace.Close());
        std::ifstream in(TracePath());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    // The lines of one kind ("TX", "RX", "EV") without the time.
    static std::vector<std::string> Of(const std::vector<std::string>& lines, const char* tag) {
        std::vector<std::string> found;
        const std::string marker = std::string(" ") + tag + " ";
        for (const std::string& line : lines) {
            if (line.size() > 11 && line.compare(10, marker.size(), marker) == 0) {
                found.push_back(line.substr(14));
            }
        }
        return found;
    }
    static std::string Hex(const std::vector<uint8_t>& bytes) {
        std::ostringstream text;
        for (size_t i = 0; i < bytes.size(); ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, "%02X", bytes[i]);
            text << (i == 0 ? "" : " ") << byte;
        }
        return text.str();
    }

    LineTraceFile Trace;
};

TEST_F(LineTraceTest, AnUploadTracesEveryFrameAsItWentOnTheLine) {
    Unit().SetTool(42, {true, 6543, 15, 2});
    const size_t before = Unit().RequestsReceived().size();
    ASSERT_TRUE(Upload());
    ASSERT_EQ(Config.ToolCapacity, 128);
    const auto lines = TraceLines();
    const auto sent = Of(lines, "TX");
    const auto received = Of(lines, "RX");

    const auto requests = Unit().RequestsReceived();
    ASSERT_EQ(sent.size(), requests.size() - before);
    for (size_t i = 0; i < sent.size(); ++i) {
        const std::string frame = Hex(V24_BuildFrame(requests[before + i]));
        ASSERT_EQ(sent[i].substr(0, frame.size() + 3), frame + " | ") << "request " << i;
    }
    EXPECT_EQ(received.size(), sent.size()) << "one reply to every request";
    for (const std::string& line : received) {
        // Each holds one whole frame as it came off the line.
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i + 1 < line.find(" | "); i += 3) {
            bytes.push_back(static_cast<uint8_t>(std::stoi(line.substr(i, 2), nullptr, 16)));
        }
        DeviceMessage block{};
        ASSERT_EQ(V24_DecodeFrame(bytes.data(), bytes.size(), block), 0u) << line;
        EXPECT_EQ(Hex(V24_BuildFrame(block)), Hex(bytes));
    }
    EXPECT_NE(std::find(sent.begin(), sent.end(),
                        Hex(V24_BuildFrame(DeviceRequest{42, RequestCode::ToolRead, 0, 0, 0, 0})) +
                            " | tool read 42"),
              sent.end());
    EXPECT_NE(std::find_if(received.begin(), received.end(),
                           [](const std::string& line) {
                               return line.ends_with(
                                   " | tool 42: done (0x81), angle 65.43, tolerance 1.50, "
                                   "intensity 2");
                           }),
              received.end());
    EXPECT_TRUE(Of(lines, "EV").empty()) << "a clean line has nothing to explain";
}

TEST_F(LineTraceTest, AChecksumFaultShowsItsEventAndTheRepeat) {
    SetFaults([](sim::SimFaults& f) { f.CorruptChecksum = true; }, 0, 1);
    uint8_t variant = 0;
    ErrorCode error = 0;
    ASSERT_TRUE(W.Par.ReadByte(26, variant, error));
    const auto lines = TraceLines();
    const auto received = Of(lines, "RX");
    const auto events = Of(lines, "EV");
    EXPECT_TRUE(std::any_of(received.begin(), received.end(), [](const std::string& line) {
        return line.ends_with(" | checksum error");
    }));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "checksum error");
    EXPECT_EQ(events[1], "repeat");
    EXPECT_TRUE(received.back().ends_with(" | parameter 26: done (0x81), value 4"));
}

class FieldbusLineTraceTest : public LineTraceTest {
protected:
    FieldbusLineTraceTest() : LineTraceTest(CommMode::Fieldbus) {}
};

TEST_F(FieldbusLineTraceTest, TheBlocksOfTheRecordsAreTraced) {
    uint8_t variant = 0;
    ErrorCode error = 0;
    ASSERT_TRUE(W.Par.ReadByte(26, variant, error));
    const auto lines = TraceLines();
    const auto sent = Of(lines, "TX");
    const auto received = Of(lines, "RX");
    EXPECT_EQ(sent.back(), "1A 81 00 00 00 00 | parameter read 26, element 0");
    EXPECT_EQ(received.back(), "1A 81 00 00 04 00 | parameter 26: done (0x81), value 4");
}

} // namespace
} // namespace vg
