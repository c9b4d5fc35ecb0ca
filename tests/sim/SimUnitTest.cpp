#include "sim/SimUnit.h"

#include <gtest/gtest.h>

namespace vg::sim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A unit whose clock the test moves by hand.
struct ClockedUnit {
    Clock::time_point Now = Clock::time_point{} + 1h;
    SimUnit Unit{[this] {
        return Now;
    }};

    DeviceReply Ask(DeviceRequest request) {
        auto reply = Unit.HandleRequest(request);
        return reply ? reply->Bytes : DeviceReply{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    }
    DeviceReply Status(int kind = 0) { return Ask(MakeStatusRequest(kind)); }
};

TEST(SimUnit, ParameterBytesAndTheNamespaceWordsAreReadAndWritten) {
    ClockedUnit u;
    EXPECT_EQ(u.Ask({31, RequestCode::ParameterRead, 0, 0, 0, 0}),
              (DeviceReply{31, 0x81, 0, 0, 1, 0}));
    EXPECT_EQ(u.Ask({5, RequestCode::ParameterWrite, 0, 0, 7, 0}),
              (DeviceReply{5, 0x81, 0, 0, 0, 0}));
    EXPECT_EQ(u.Unit.Parameter(5), 7);
    // Word mode: element 2 of parameter 32 holds characters 3 and 4 of the identifier.
    u.Unit.SetCuId("12345678");
    EXPECT_EQ(u.Ask({32, RequestCode::ParameterRead, 0x82, 0, 0, 0}),
              (DeviceReply{32, 0x81, 0, 0, '3', '4'}));
    u.Ask({32, RequestCode::ParameterWrite, 0x80, 0, '9', '8'});
    EXPECT_EQ(u.Unit.NamespaceBlock()[0], '9');
    EXPECT_EQ(u.Unit.NamespaceBlock()[1], '8');
}

TEST(SimUnit, ParameterRefusalsAndElementsOutsideTheParameter) {
    ClockedUnit u;
    EXPECT_EQ(u.Ask({20, RequestCode::ParameterRead, 0, 0, 0, 0})[1], 0x84); // no such parameter
    EXPECT_EQ(u.Ask({26, RequestCode::ParameterWrite, 0, 0, 1, 0})[1],
              0x82); // firmware is read-only
    const DeviceReply beyond = u.Ask({5, RequestCode::ParameterRead, 1, 0, 0, 0});
    EXPECT_EQ(beyond[1], 0x81);
    EXPECT_EQ(beyond[2], 0x01);
    EXPECT_EQ(u.Ask({32, RequestCode::ParameterRead, 0x80 | 19, 0, 0, 0})[2], 0x01);
}

TEST(SimUnit, ToolTableExchangeWithinTheVariantsCapacity) {
    ClockedUnit u;
    u.Unit.SetVariant(3); // 64 slots
    EXPECT_EQ(u.Ask({10, RequestCode::ToolWrite, 2, 15, 0x39, 0x30}),
              (DeviceReply{10, 0x81, 0, 0, 0, 0}));
    EXPECT_EQ(u.Ask({10, RequestCode::ToolRead, 0, 0, 0, 0}),
              (DeviceReply{10, 0x81, 2, 15, 0x39, 0x30}));
    u.Ask({10, RequestCode::ToolDelete, 0, 0, 0, 0});
    EXPECT_EQ(u.Ask({10, RequestCode::ToolRead, 0, 0, 0, 0})[1], 0x89); // empty slot
    EXPECT_EQ(u.Ask({64, RequestCode::ToolRead, 0, 0, 0, 0})[1], 0x84);
    EXPECT_EQ(u.Ask({64, RequestCode::ToolWrite, 0, 0, 0, 0})[1], 0x82);
    u.Unit.SetVariant(1); // no slots, but tool 0 still answers
    EXPECT_EQ(u.Unit.ToolCapacity(), 0);
    EXPECT_EQ(u.Ask({0, RequestCode::ToolRead, 0, 0, 0, 0})[1], 0x89);
}

TEST(SimUnit, ChannelFaultsHitOnlyTheirWindowOfRequests) {
    ClockedUnit u;
    SimFaults faults;
    faults.RefuseRead = true;
    faults.FirstRequest = 1;
    faults.RequestCount = 1;
    u.Unit.SetFaults(faults);
    EXPECT_EQ(u.Ask({0, RequestCode::ParameterRead, 0, 0, 0, 0})[1], 0x81);
    EXPECT_EQ(u.Status()[1] & 0x80, 0); // status requests are not counted
    EXPECT_EQ(u.Ask({0, RequestCode::ParameterRead, 0, 0, 0, 0})[1], 0x84);
    EXPECT_EQ(u.Ask({0, RequestCode::ParameterRead, 0, 0, 0, 0})[1], 0x81);
    EXPECT_EQ(u.Unit.ChannelRequestsSeen(), 3);
}

TEST(SimUnit, EachChannelFaultShowsInTheReply) {
    const DeviceRequest read{6, RequestCode::ParameterRead, 0, 0, 0, 0};
    const DeviceRequest write{6, RequestCode::ParameterWrite, 0, 0, 2, 0};
    struct Case {
        SimFaults Faults;
        DeviceRequest Request;
        uint8_t Byte0, Byte1, Byte2;
    };
    SimFaults echo, soft, element, refuseWrite;
    echo.WrongEcho = true;
    soft.SoftError = true;
    element.ElementNotAccepted = true;
    refuseWrite.RefuseWrite = true;
    const Case cases[] = {{echo, read, 7, 0x81, 0},
                          {soft, read, 6, 0x80, 0},
                          {element, read, 6, 0x81, 1},
                          {refuseWrite, write, 6, 0x82, 0},
                          {refuseWrite, read, 6, 0x81, 0}};
    for (const auto& c : cases) {
        ClockedUnit u;
        u.Unit.SetFaults(c.Faults);
        const DeviceReply r = u.Ask(c.Request);
        EXPECT_EQ(r[0], c.Byte0);
        EXPECT_EQ(r[1], c.Byte1);
        EXPECT_EQ(r[2], c.Byte2);
    }
    ClockedUnit u;
    SimFaults refused;
    refused.RefuseWrite = true;
    u.Unit.SetFaults(refused);
    u.Ask(write);
    EXPECT_EQ(u.Unit.Parameter(6), 1); // a refused write changes nothing
    SimFaults silent;
    silent.NoReply = true;
    u.Unit.SetFaults(silent);
    EXPECT_FALSE(u.Unit.HandleRequest(read).has_value());
    EXPECT_TRUE(u.Unit.HandleRequest(MakeStatusRequest(0)).has_value());
    u.Unit.SetSilent(true);
    EXPECT_FALSE(u.Unit.HandleRequest(MakeStatusRequest(0)).has_value());
}

TEST(SimUnit, StatusRecordsOfBothKinds) {
    ClockedUnit u;
    u.Unit.SetCurrentTool(5);
    u.Unit.SetActualTool(9);
    u.Unit.SetErrorBits(0x41);
    EXPECT_EQ(u.Status(0), (DeviceReply{5, 0x01, 0, 0x41, 0, 0})); // at zero position
    EXPECT_EQ(u.Status(1)[0], 9);
}

TEST(SimUnit, GoToPositionScansUntilTheScannerArrives) {
    ClockedUnit u; // 90 degrees a second
    u.Ask({0, RequestCode::GoToPosition, 3, 20, 0x28, 0x23});
    u.Now += 500ms;
    const DeviceReply moving = u.Status();
    EXPECT_EQ(moving[1], 0x02);
    EXPECT_EQ(MessageWord(moving), 4500);
    u.Now += 600ms;
    const DeviceReply there = u.Status();
    EXPECT_EQ(there[1], 0x00);
    EXPECT_EQ(MessageWord(there), 9000);

    u.Ask({0, RequestCode::GoBack, 0, 0, 0, 0});
    u.Now += 2s;
    EXPECT_EQ(u.Status(), (DeviceReply{0, 0x01, 0, 0, 0, 0}));
}

TEST(SimUnit, TeachStopsAtTheObjectWithOut1OrEndsWithOut2) {
    ClockedUnit u;
    u.Unit.SetObjectAngle(6543);
    u.Ask({0, RequestCode::Teach, 1, 30, 0xE0, 0x2E}); // up to 120.00
    u.Now += 2s;
    const DeviceReply found = u.Status();
    EXPECT_EQ(found[1], 0x08);
    EXPECT_EQ(MessageWord(found), 6543);

    u.Ask({0, RequestCode::GoBack, 0, 0, 0, 0});
    u.Now += 2s;
    u.Ask({0, RequestCode::Teach, 1, 30, 0x88, 0x13}); // up to 50.00: nothing there
    u.Now += 2s;
    const DeviceReply missed = u.Status();
    EXPECT_EQ(missed[1], 0x10);
    EXPECT_EQ(MessageWord(missed), 5000);
}

TEST(SimUnit, StartChecksTheObjectWithinTheTolerance) {
    ClockedUnit u;
    u.Unit.SetObjectAngle(9010);
    u.Ask({0, RequestCode::Start, 3, 2, 0x28, 0x23}); // 90.00 +- 0.20
    u.Now += 2s;
    EXPECT_EQ(u.Status()[1], 0x08);
    u.Ask({0, RequestCode::Start, 3, 0, 0x28, 0x23}); // no tolerance
    u.Now += 2s;
    EXPECT_EQ(u.Status()[1], 0x10);
}

} // namespace
} // namespace vg::sim
