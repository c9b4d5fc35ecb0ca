// An upload over a serial line that carries more than the unit's frames: a stray byte, or
// bursts of noise. Traffic is measured in requests the unit receives, never in time.
#include "TransferFixture.h"
#include "sim/SimCommandLine.h"

#include <chrono>

namespace vg {
namespace {

using namespace std::chrono_literals;

class LineNoiseTest : public test::TransferTestBase<CommMode> {
protected:
    LineNoiseTest() : TransferTestBase(CommMode::Serial) {
        // A time-out would be a failure here, never an outcome: the deadline is generous.
        W.Par.Timeout = 5s;
        sim::LoadDemoTools(Unit());
        Unit().SetVariant(2); // 32 slots
        // At the real line rate, so that frames and noise meet as they would on a line.
        W.Server->SetPaced(true);
    }

    // Uploads, checks that the tool table came through as the unit holds it, and returns how
    // many requests the unit received.
    int CountedUpload() {
        const int before = Unit().RequestsSeen();
        EXPECT_TRUE(Upload());
        for (int n = 0; n < Unit().ToolCapacity(); ++n) {
            const sim::SimTool held = Unit().Tool(n);
            const ToolRecord& read = Config.ConfigImage.Tools[static_cast<size_t>(n)];
            EXPECT_EQ(read.Programmed != 0, held.Programmed) << n;
            if (held.Programmed) {
                EXPECT_EQ(read.Angle, AngleFromWord(held.Angle)) << n;
                EXPECT_EQ(read.Intensity, held.Intensity) << n;
            }
        }
        return Unit().RequestsSeen() - before;
    }
};

TEST_F(LineNoiseTest, AStrayByteCostsAtMostAFewRequests) {
    const int clean = CountedUpload();
    EXPECT_EQ(clean, 2 * (6 + 32 + 14 + 10)) << "a status request before each transaction";
    W.Server->SetStrayByte(40);
    EXPECT_LE(CountedUpload(), clean + 3);
}

TEST_F(LineNoiseTest, UnderNoiseAnUploadFinishesWithAtMostTwiceItsRequests) {
    const int clean = CountedUpload();
    W.Server->SetNoise(50ms, 8, 12345);
    EXPECT_LE(CountedUpload(), 2 * clean);
}

} // namespace
} // namespace vg
