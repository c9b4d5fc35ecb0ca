#include "status/StatusPoll.h"

#include "config/model/TextFormats.h"
#include "gui/StatusDisplay.h"
#include "gui/StatusLamps.h"
#include "link/FrameCodec.h"
#include "sim/SimSerialServer.h"
#include "support/LinkWorld.h"
#include "support/PtyPair.h"
#include "support/RecordingTrace.h"
#include "support/RecordingViews.h"
#include "support/TempDir.h"
#include "support/UnitWorld.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

namespace vg {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr DeviceRequest GoTo45{0, RequestCode::GoToPosition, 1, 20, 0x94, 0x11};
constexpr DeviceRequest GoBack{0, RequestCode::GoBack, 0, 0, 0, 0};

using test::IsStatusRequest;

// The poll against the simulated unit, in the mode of the parameter, as the program runs it
// after start-up: the link open, the status shown on the main window's bar. The unit's
// scanner runs on a clock the test advances.
class StatusPollTest : public ::testing::TestWithParam<CommMode> {
protected:
    void SetUp() override {
        InitConfigState(Config);
        Poll.AddListener(&Host);
        Poll.AddListener(&Shown);
        Shown.ShowOn(&Host.Main);
        W.Poll.LinkOpened = true;
        W.World.Link.SetTrace(&Trace);
        if (Serial()) {
            // Long enough that a reply is never there within the tick that asked for it.
            W.Unit().SetAnswerDelay(30ms);
        }
    }

    bool Serial() const { return GetParam() == CommMode::Serial; }
    PollState& State() { return W.Poll; }

    // One timer event. In serial mode a tick without a request on its way sends one (or a
    // queued command); wait, with a bound, until the answer is in the receive slot, so that
    // the next tick finds it.
    void Tick() {
        const bool sends = Serial() && !W.Unit().Silent() && !State().RequestOutstanding;
        Poll.Tick();
        if (sends) {
            ASSERT_TRUE(W.World.Slot.WaitForReply(Clock::now() + 2s)) << "no answer";
        }
    }

    // Ticks until the next status record has been processed.
    void TickToNextRecord() {
        const auto before = Poll.RecordsProcessed();
        for (int i = 0; i < 6 && Poll.RecordsProcessed() == before; ++i) {
            Tick();
        }
        ASSERT_GT(Poll.RecordsProcessed(), before) << "no record processed";
    }

    void BringOnline() {
        TickToNextRecord();
        ASSERT_TRUE(State().Online);
    }

    std::vector<DeviceRequest> HeardSince(size_t index) {
        const auto all = W.Unit().RequestsReceived();
        return {all.begin() + static_cast<ptrdiff_t>(std::min(index, all.size())), all.end()};
    }

    void Advance(std::chrono::milliseconds step) { Offset += step.count(); }

    const Clock::time_point Base = Clock::now();
    std::atomic<int64_t> Offset{0};
    test::RecordingTrace Trace; // outlives the receive thread
    test::UnitWorld W{GetParam(), [this] {
                          return Base + std::chrono::milliseconds(Offset.load());
                      }};
    ConfigState Config;
    DisplayState Display;
    StatusPoll Poll{W.World.Settings, W.World.Link, W.World.Serial, W.Poll, Display, Config};
    WindowInFront Front = WindowInFront::Main;
    StatusDisplay Shown{Poll, Front};
    test::RecordingHost Host;
};

TEST_P(StatusPollTest, AnsweringUnitComesOnlineWithEveryFieldDrawn) {
    W.Unit().SetCurrentTool(17);
    W.Unit().SetErrorBits(0x08);
    Tick();
    // On the serial line the reply to the first request is read by the second tick.
    EXPECT_EQ(State().Online, !Serial());
    if (Serial()) {
        EXPECT_TRUE(Host.Intervals.empty());
        Tick();
    }
    EXPECT_TRUE(State().Online);
    EXPECT_EQ(Host.Interval(), 120);
    EXPECT_EQ(Host.VigiloButton, true);
    EXPECT_EQ(Host.MonitorMode, true);
    EXPECT_EQ(State().CurrentToolNr, 17);
    EXPECT_EQ(State().PollModulus, Serial() ? 2 : 8);
    const auto& texts = Host.Main.Texts;
    EXPECT_EQ(texts[StatusPanel::Error], "ERROR! Wand!");
    EXPECT_EQ(texts[StatusPanel::Scanning], "Zero-Pos.");
    EXPECT_EQ(texts[StatusPanel::Angle], " MeasA.:   0.00");
    EXPECT_EQ(texts[StatusPanel::Id], "Id: --------");
}

TEST_P(StatusPollTest, QueuedCommandIsSentExactlyOnce) {
    BringOnline();
    const size_t mark = W.Unit().RequestsReceived().size();
    Poll.QueueCommand(GoTo45);
    if (Serial()) {
        EXPECT_TRUE(State().PendingCommandFlag);
        EXPECT_TRUE(HeardSince(mark).empty()) << "serial commands wait for the next tick";
        Tick();
        // That tick sent the command and nothing else.
        EXPECT_EQ(HeardSince(mark), std::vector<DeviceRequest>{GoTo45});
        EXPECT_FALSE(State().PendingCommandFlag);
    }
    for (int i = 0; i < 4; ++i) {
        Tick();
    }
    const auto heard = HeardSince(mark);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), GoTo45), 1);
    EXPECT_TRUE(std::all_of(heard.begin(), heard.end(),
                            [](const auto& r) { return r == GoTo45 || IsStatusRequest(r); }));
    EXPECT_EQ(Config.TransferError, 0u);
}

// On the fieldbus every command goes out at once; only the serial line keeps one waiting.
class SerialPollTest : public StatusPollTest {};

TEST_P(SerialPollTest, LaterOfTwoQueuedCommandsWins) {
    BringOnline();
    const size_t mark = W.Unit().RequestsReceived().size();
    Poll.QueueCommand(GoTo45);
    Poll.QueueCommand(GoBack);
    Tick();
    Tick();
    const auto heard = HeardSince(mark);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], GoBack);
    EXPECT_TRUE(IsStatusRequest(heard[1]));
}

TEST_P(StatusPollTest, NewStatusBarTargetGetsEveryFieldAtOnce) {
    BringOnline();
    test::RecordingBar manual;
    Shown.ShowOn(&manual);
    Host.Main.Forget();
    TickToNextRecord();
    for (const int panel :
         {StatusPanel::Error, StatusPanel::Scanning, StatusPanel::Angle, StatusPanel::Id}) {
        EXPECT_TRUE(manual.Wrote(panel)) << panel;
    }
    EXPECT_GE(manual.Repaints, 1);
    EXPECT_TRUE(Host.Main.Writes.empty());
    // The record after that is compared again.
    manual.Forget();
    TickToNextRecord();
    EXPECT_FALSE(manual.Wrote(StatusPanel::Scanning));
}

TEST_P(StatusPollTest, ReconnectShowsTheResetPictureBeforeAnyNewRequest) {
    BringOnline();
    // What the communication dialog does before it asks for the reconnect.
    ErrorCode error = 0;
    W.World.Serial.StopReceiver();
    W.World.Link.Close(W.World.Settings.ComPortNr, error);
    State().ReconnectRequest = true;
    Trace.Clear();
    const size_t mark = W.Unit().RequestsReceived().size();
    Poll.Tick();
    EXPECT_TRUE(HeardSince(mark).empty());
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Scanning], "-----");
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Angle], "-----");
    EXPECT_EQ(Host.Interval(), 800);
    EXPECT_EQ(Host.VigiloButton, false);
    EXPECT_EQ(Host.MonitorMode, false);
    EXPECT_FALSE(State().Online);
    // The bars draw the online lamp from what the display took with the events.
    EXPECT_EQ(OnlineLampColour(Shown.Lamps().Heartbeat), LampColour::Red);
    EXPECT_FALSE(State().ReconnectRequest);
    // Serial: the port is open again with its receiver; fieldbus: the next tick opens it.
    EXPECT_EQ(State().LinkOpened, Serial());
    EXPECT_EQ(W.World.Serial.ReceiverRunning(), Serial());
    BringOnline();
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Scanning], "Zero-Pos.");
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Angle], " MeasA.:   0.00");
    EXPECT_EQ(Host.Interval(), 120);
    EXPECT_EQ(Host.MonitorMode, true);
    EXPECT_EQ(Trace.Events(), (std::vector{TraceEventKind::Reconnect, TraceEventKind::PortOpen,
                                           TraceEventKind::UnitFound}));
}

TEST_P(StatusPollTest, SilentUnitIsDeclaredLostAndRedrawnWhenItAnswersAgain) {
    BringOnline();
    Trace.Clear();
    W.Unit().SetSilent(true);
    if (Serial()) {
        // The request goes out on the first of these ticks; the tenth gives up on it.
        for (int tick = 1; tick <= 9; ++tick) {
            Tick();
            ASSERT_TRUE(State().Online) << "tick " << tick;
        }
    }
    Tick();
    EXPECT_FALSE(State().Online);
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Scanning], "-----");
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Angle], "-----");
    EXPECT_EQ(Host.Interval(), 800);
    EXPECT_EQ(Host.VigiloButton, false);
    EXPECT_EQ(Host.MonitorMode, false);
    EXPECT_EQ(OnlineLampColour(Poll.Heartbeat()), LampColour::Red);
    // The fieldbus link is closed, and opened again on the next tick.
    EXPECT_EQ(State().LinkOpened, Serial());
    EXPECT_EQ(W.World.BusMaster.IsOpen(), false);
    Tick();
    EXPECT_TRUE(State().LinkOpened);
    EXPECT_EQ(State().Online, !Serial()); // the fieldbus open alone counts as online

    // The unit reports what it reported before the loss: the offline texts go all the same.
    W.Unit().SetSilent(false);
    for (int i = 0; i < 6 && Host.Main.Texts[StatusPanel::Angle] == "-----"; ++i) {
        Tick();
    }
    EXPECT_TRUE(State().Online);
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Scanning], "Zero-Pos.");
    EXPECT_EQ(Host.Main.Texts[StatusPanel::Angle], " MeasA.:   0.00");
    // The fieldbus master is closed with the loss and opened again on the next tick.
    const std::vector<TraceEventKind> events =
        Serial() ? std::vector{TraceEventKind::UnitLost, TraceEventKind::UnitFound}
                 : std::vector{TraceEventKind::UnitLost, TraceEventKind::PortClose,
                               TraceEventKind::PortOpen, TraceEventKind::UnitFound};
    EXPECT_EQ(Trace.Events(), events);
}

// "unit found" in a trace means the unit answered: a link opened to a silent unit is no find.
TEST_P(StatusPollTest, AUnitIsTracedAsFoundOnlyWhenItAnswers) {
    BringOnline();
    Trace.Clear();
    W.Unit().SetSilent(true);
    for (int tick = 0; tick < 30; ++tick) {
        Tick();
    }
    const auto events = Trace.Events();
    EXPECT_NE(std::find(events.begin(), events.end(), TraceEventKind::UnitLost), events.end());
    EXPECT_EQ(std::find(events.begin(), events.end(), TraceEventKind::UnitFound), events.end());
    W.Unit().SetSilent(false);
    for (int tick = 0; tick < 30 && !State().Online; ++tick) {
        Tick();
    }
    BringOnline();
    EXPECT_EQ(Trace.Events().back(), TraceEventKind::UnitFound);
}

// What observers are told: one value a change, never the same twice.
class StatusLog : public UnitStatusObserver {
public:
    void UnitStatusChanged(const UnitStatus& status) override { Seen.push_back(status); }
    std::vector<UnitStatus> Seen;
};

TEST_P(StatusPollTest, ObserversAreToldEachChangeOfTheUnitStatusOnce) {
    StatusLog log;
    Poll.AddObserver(&log);
    W.Unit().SetCurrentTool(17);
    W.Unit().SetErrorBits(0x08);
    BringOnline();
    for (int i = 0; i < 4; ++i) {
        TickToNextRecord();
    }
    ASSERT_EQ(log.Seen.size(), 1U) << "unchanged records tell nothing";
    const UnitStatus& online = log.Seen.back();
    EXPECT_TRUE(online.Online);
    EXPECT_EQ(online.ToolNr, 17);
    EXPECT_EQ(online.Message(), "ERROR! Wand!");
    EXPECT_EQ(online.ScannerText(), "Zero-Pos.");
    EXPECT_EQ(online.AngleHundredths, 0);
    EXPECT_FALSE(online.Identifier.has_value());
    EXPECT_EQ(Poll.CurrentStatus(), online);

    W.Unit().SetSilent(true);
    for (int tick = 0; tick < 12 && State().Online; ++tick) {
        Tick();
    }
    ASSERT_EQ(log.Seen.size(), 2U);
    const UnitStatus& offline = log.Seen.back();
    EXPECT_FALSE(offline.Online);
    EXPECT_EQ(offline.ToolNr, -1);
    EXPECT_EQ(offline.ScannerText(), "-----");
    EXPECT_FALSE(offline.AngleHundredths.has_value());
    EXPECT_EQ(offline.Message(), "ERROR! Wand!") << "the bar keeps the last message";
    Poll.RemoveObserver(&log);
}

TEST_P(StatusPollTest, WithoutTheMonitorWindowOnlyTheSelectedToolIsAskedFor) {
    // A front end without windows (no bar, no monitor) keeps asking for kind 0.
    Shown.ShowOn(nullptr);
    Poll.RemoveListener(&Host);
    BringOnline();
    for (int i = 0; i < 4; ++i) {
        TickToNextRecord();
    }
    for (const DeviceRequest& request : W.Unit().RequestsReceived()) {
        if (IsStatusRequest(request)) {
            EXPECT_EQ(request, MakeStatusRequest(0));
        }
    }
}

TEST_P(StatusPollTest, UnchangedRecordsBlinkTheOnlineLamp) {
    BringOnline();
    Host.Main.Forget();
    std::vector<uint32_t> lamp;
    std::vector<int> repaints;
    for (int i = 0; i < 8; ++i) {
        TickToNextRecord();
        lamp.push_back(OnlineLampColour(Poll.Heartbeat()));
        repaints.push_back(Host.Main.Repaints);
    }
    EXPECT_TRUE(Host.Main.Writes.size() == 8u); // only the identifier, once per record
    const auto G = LampColour::Green, S = LampColour::Silver;
    if (Serial()) {
        // Counter 1, 0, 1, 0, ...: a repaint for every record.
        EXPECT_EQ(lamp, (std::vector<uint32_t>{S, G, S, G, S, G, S, G}));
        EXPECT_EQ(repaints, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    } else {
        // Counter 2 .. 7, 0, 1: repaints at 4 and 0.
        EXPECT_EQ(lamp, (std::vector<uint32_t>{S, S, G, G, G, G, S, S}));
        EXPECT_EQ(repaints, (std::vector<int>{0, 0, 1, 1, 1, 1, 2, 2}));
    }
}

TEST_P(StatusPollTest, TeachResultReachesTheToolAndTheEditor) {
    const DeviceRequest teach{0, RequestCode::Teach, 1, 10, 0xE0, 0x2E}; // up to 120.00
    const auto runTeach = [this, &teach](int32_t target) {
        Poll.QueueCommand(teach);
        Display.TeachTarget = target;
        bool sawScanning = false;
        for (int i = 0; i < 60 && Display.TeachTarget != -1; ++i) {
            Tick();
            sawScanning = sawScanning || Host.Main.Texts[StatusPanel::Scanning] == "Scanning";
            Advance(100ms);
        }
        EXPECT_TRUE(sawScanning);
        EXPECT_EQ(Display.TeachTarget, -1);
    };
    Config.ConfigImage.Tools[3] = {1, 10.0f, 1.0f, 1};
    BuildToolLines(Config);
    BringOnline();
    W.Unit().SetObjectAngle(6543);
    runTeach(3);
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 65.43f);
    EXPECT_EQ(Host.TaughtTools, std::vector<int>{3});
    EXPECT_EQ(Config.ToolLines.at(0).substr(0, 13), " 003    65.43");

    W.Unit().SetObjectAngle(4550);
    runTeach(3 + TeachTargetEditorBit);
    EXPECT_EQ(Host.EditorAngles, std::vector<double>{45.5});
    EXPECT_FLOAT_EQ(Config.ConfigImage.Tools[3].Angle, 65.43f);
}

INSTANTIATE_TEST_SUITE_P(BothModes, StatusPollTest,
                         ::testing::Values(CommMode::Serial, CommMode::Fieldbus), test::ModeName);
INSTANTIATE_TEST_SUITE_P(SerialOnly, SerialPollTest, ::testing::Values(CommMode::Serial),
                         test::ModeName);

// The poll on a serial link whose far side each test provides, the status shown on the main
// window's bar.
class SerialLinkPollTest : public ::testing::Test, protected test::DisplayedSerialPoll {
protected:
    void SetUp() override {
        InitConfigState(Config);
        Poll.AddListener(&Host);
        Poll.AddListener(&Shown);
        Shown.ShowOn(&Host.Main);
    }
};

// The unit played by hand on a pseudo-terminal, for replies the simulated unit never sends.
class HandPlayedPollTest : public SerialLinkPollTest {
protected:
    void SetUp() override {
        SerialLinkPollTest::SetUp();
        State.LinkOpened = World.OpenSerial(Pty.SlavePath());
        ASSERT_TRUE(State.LinkOpened);
    }

    // One tick that must send exactly `expected`, answered with `reply`.
    void TickAnswering(const DeviceRequest& expected, const DeviceReply& reply) {
        Poll.Tick();
        const auto frame = Pty.Read(FrameLength, 2000ms);
        DeviceRequest request{};
        ASSERT_EQ(V24_DecodeFrame(frame.data(), frame.size(), request), 0u);
        ASSERT_EQ(request, expected);
        Pty.Write(V24_BuildFrame(reply));
        ASSERT_TRUE(World.Slot.WaitForReply(Clock::now() + 2s));
    }

    test::PtyPair Pty;
};

TEST_F(HandPlayedPollTest, ParameterChannelBlockIsNoStatusRecord) {
    const DeviceReply parameterReply{31, 0x81, 0, 0, 1, 0};
    TickAnswering(MakeStatusRequest(0), parameterReply);
    Poll.Tick();
    EXPECT_FALSE(State.Online);
    EXPECT_EQ(State.LastStatus[0], DeviceReply{});
    EXPECT_EQ(State.CurrentToolNr, -1);

    TickAnswering(MakeStatusRequest(0), DeviceReply{4, 0x01, 0, 0, 0x10, 0x27});
    Poll.Tick();
    ASSERT_TRUE(State.Online);
    Host.Main.Forget();
    TickAnswering(MakeStatusRequest(0), parameterReply);
    Poll.Tick();
    EXPECT_TRUE(State.Online);
    EXPECT_EQ(State.LastStatus[0], (DeviceReply{4, 0x01, 0, 0, 0x10, 0x27}));
    EXPECT_EQ(State.CurrentToolNr, 4);
    EXPECT_TRUE(Host.Main.Writes.empty());
}

TEST_F(HandPlayedPollTest, EachKindIsComparedWithItsOwnLastRecord) {
    // The monitor window in front: no bar, both kinds in turn.
    test::RecordingMonitor monitor;
    Shown.SetMonitor(&monitor);
    Shown.ShowOn(nullptr);
    Poll.AskBothKinds(true);
    const DeviceReply kind0{5, 0x01, 0, 0, 0xE8, 0x03}; // 10.00
    const DeviceReply kind1{9, 0x01, 0, 0, 0xD0, 0x07}; // 20.00
    for (int round = 0; round < 3; ++round) {
        TickAnswering(MakeStatusRequest(0), kind0);
        Poll.Tick();
        TickAnswering(MakeStatusRequest(1), kind1);
        Poll.Tick();
    }
    // Each kind's angle was new once; after that each matched its own last record.
    EXPECT_EQ(Host.Measured, (std::vector<int32_t>{1000, 2000}));
    EXPECT_EQ(monitor.CurrentAngles, std::vector<std::string>{" 10.00"});
    EXPECT_EQ(monitor.ZeroPositionLamp, true);
    EXPECT_EQ(monitor.OutputsShown, 2); // the flags too were new once per kind
    EXPECT_EQ(monitor.Message, "");
    EXPECT_TRUE(Host.Main.Writes.empty());
    EXPECT_EQ(monitor.ToolsShown.size(), 6u);
    // Unchanged records on a serial line light the indicator on every record.
    EXPECT_EQ(monitor.LedShown, 4);
}

// The unit's terminal goes away as an unplugged adapter does and is made anew under the same
// name, as the adapter's stable name comes back.
class SerialRecoveryTest : public SerialLinkPollTest {
protected:
    void SetUp() override {
        SerialLinkPollTest::SetUp();
        World.Serial.DeviceOverride = Name;
        // Long enough that a reply is never there within the tick that asked for it.
        Unit().SetAnswerDelay(30ms);
        PlugIn();
        Poll.StartLink();
        ASSERT_TRUE(State.LinkOpened);
    }

    void PlugIn() {
        Server = std::make_unique<sim::SimSerialServer>(Unit());
        std::string why;
        ASSERT_TRUE(Server->Open(why) && Server->LinkAs(Name, why)) << why;
        Server->Start();
    }
    sim::SimUnit& Unit() { return World.BusUnit; }

    // Ticks, each followed by a bounded wait for an answer, until `done` holds.
    template <typename Predicate> bool TickUntil(Predicate done, int ticks = 20) {
        for (int i = 0; i < ticks && !done(); ++i) {
            Poll.Tick();
            World.Slot.WaitForReply(Clock::now() + 200ms);
        }
        return done();
    }

    test::TempDir Dir;
    const std::string Name = (Dir / "unit").string();
    std::unique_ptr<sim::SimSerialServer> Server;
};

TEST_F(SerialRecoveryTest, AHungUpPortIsClosedAndOpenedAgainWhenItsDeviceComesBack) {
    ASSERT_TRUE(TickUntil([this] { return State.Online; }));
    Server->Hangup();
    // The dead descriptor is let go at once; the unit is declared lost as any silent unit.
    ASSERT_TRUE(TickUntil([this] { return !State.LinkOpened; }));
    EXPECT_FALSE(World.Serial.ReceiverRunning());
    ASSERT_TRUE(TickUntil([this] { return !State.Online; }));
    Server.reset();
    EXPECT_FALSE(TickUntil([this] { return State.LinkOpened; }, 3)) << "nothing to open";

    PlugIn();
    // A transfer owns the link: the port stays closed until it is over.
    Config.TransferBusy = true;
    Poll.Tick();
    EXPECT_FALSE(State.LinkOpened);
    Config.TransferBusy = false;
    // The first offline tick opens the port and asks; the second finds the answer.
    Poll.Tick();
    EXPECT_TRUE(State.LinkOpened);
    EXPECT_TRUE(World.Serial.ReceiverRunning());
    ASSERT_TRUE(World.Slot.WaitForReply(Clock::now() + 2s));
    Poll.Tick();
    EXPECT_TRUE(State.Online);
    EXPECT_EQ(Host.MonitorMode, true);
}

} // namespace
} // namespace vg
