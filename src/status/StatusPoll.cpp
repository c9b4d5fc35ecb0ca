#include "status/StatusPoll.h"

#include "config/model/TextFormats.h"

#include <cstring>

namespace vg {

namespace {
constexpr uint16_t CountdownOnline = 10;
constexpr uint16_t CountdownOffline = 2;
// Records per blink of the lamps: replies in turn come every other tick.
constexpr uint16_t InTurnModulus = 2;
constexpr uint16_t CyclicModulus = 8;

// The kind requested and compared: 1, or 0 for anything else (as the request is built).
size_t KindIndex(const PollState& poll) {
    return poll.StatusKind == 1 ? 1 : 0;
}
} // namespace

void StatusPoll::StartLink() {
    ErrorCode error = 0;
    Recovery.OpenPort(error);
    if (Poll.LinkOpened && Link.OpenCountsAsOnline()) {
        // Online for the windows, as the open alone counts; found once the unit answers.
        UnitAnswered = false;
        Poll.Online = true;
        BecomeOnline();
        Publish(Current);
    }
    if (ReportOpenFailure) {
        ReportOpenFailure = false;
        if (!Poll.LinkOpened && error != 0) {
            Tell([error](StatusEvents& listener) { listener.LinkOpenFailed(error); });
        }
    }
}

void StatusPoll::QueueCommand(const DeviceRequest& request) {
    if (!Link.RepliesInTurn()) {
        Link.Service(false);
        Link.Send(request, Config.TransferError);
        return;
    }
    Poll.PendingCommand = request;
    Poll.PendingCommandFlag = true;
}

void StatusPoll::Tick() {
    if (Poll.ReconnectRequest) {
        Reconnect();
        return;
    }
    if (!Poll.LinkOpened && Link.OpenCountsAsOnline()) {
        // Closed when the unit was lost: opened again, which brings the unit back online.
        StartLink();
        return;
    }
    // Adapters come and go: a port that hung up or did not open is opened again.
    Recovery.Recover();
    RunPoll();
}

void StatusPoll::Reconnect() {
    Link.TraceEvent(TraceEventKind::Reconnect);
    // Offline before anyone is told: the listeners take the heartbeat with the events.
    Poll.Online = false;
    StatusNowOffline();
    Tell([](StatusEvents& listener) { listener.UnitWentOffline(); });
    Poll.RedrawAll = true;
    BecomeUnreachable();
    Poll.ReconnectRequest = false;
    Poll.LinkOpened = false;
    UnitAnswered = false;
    // The old link is closed: what was asked on it will never be answered.
    Poll.RequestOutstanding = false;
    ReportOpenFailure = true;
    if (!Link.OpenCountsAsOnline()) {
        StartLink();
    }
    // A link whose open counts as online is opened by the next tick.
}

void StatusPoll::AskBothKinds(bool both) {
    Poll.BothKinds = both;
    if (!both) {
        Poll.StatusKind = 0;
    }
}

void StatusPoll::RunPoll() {
    const bool inTurn = Link.RepliesInTurn();
    if (inTurn && !Poll.RequestOutstanding && Poll.PendingCommandFlag) {
        // The command takes the place of this tick's request; its answer, if any, is read by
        // a later tick like a status reply.
        Link.Send(Poll.PendingCommand, Config.TransferError);
        Poll.PendingCommandFlag = false;
        return;
    }
    if (!Poll.RequestOutstanding) {
        SendStatusRequest();
    }
    DeviceReply reply{};
    bool gotReply = false;
    const bool usable = TakeReply(reply, gotReply);
    if (!gotReply) {
        if (Poll.Online) {
            DeclareLost();
        }
        return;
    }
    if (!usable) {
        return; // still waiting within the countdown, or a block that failed its checks
    }
    if (!UnitAnswered) {
        Link.TraceEvent(TraceEventKind::UnitFound);
        UnitAnswered = true;
    }
    if (!Poll.Online) {
        BecomeOnline();
    }
    Poll.PollModulus = inTurn ? InTurnModulus : CyclicModulus;
    Poll.PollCounter = static_cast<uint16_t>((Poll.PollCounter + 1) % Poll.PollModulus);
    const bool unchanged = reply == Poll.LastStatus[KindIndex(Poll)];
    if ((Poll.PollCounter == 0 || Poll.PollCounter == Poll.PollModulus / 2) && unchanged) {
        // Nothing new but the heartbeat: only the online lamp changes.
        Tell([](StatusEvents& listener) { listener.HeartbeatTurned(); });
    }
    if ((reply[1] & StateBit::ParameterReply) != 0) {
        return; // a late parameter-channel answer, not a status record
    }
    TakeRecord(reply);
}

void StatusPoll::SendStatusRequest() {
    ErrorCode error = 0;
    Link.Service(false);
    Link.Send(MakeStatusRequest(Poll.StatusKind), error);
    Poll.ReplyCountdown = Poll.Online ? CountdownOnline : CountdownOffline;
    Link.Service(false);
    Poll.RequestOutstanding = true;
}

bool StatusPoll::TakeReply(DeviceReply& reply, bool& gotReply) {
    ErrorCode error = 0;
    gotReply = Poll.Online;
    if (Link.ReplyAvailable()) {
        Poll.RequestOutstanding = false;
        // A frame that failed its checks still ends the wait and the next tick asks again;
        // a failed read of the fieldbus proves nothing about the unit.
        return Link.TakeAnswer(reply, error, gotReply);
    }
    if (Poll.ReplyCountdown == 1) {
        gotReply = false;
        Poll.RequestOutstanding = false;
    }
    if (Poll.ReplyCountdown != 0) {
        --Poll.ReplyCountdown;
    }
    return false;
}

void StatusPoll::DeclareLost() {
    Link.TraceEvent(TraceEventKind::UnitLost);
    UnitAnswered = false;
    Poll.Online = false;
    StatusNowOffline();
    Tell([](StatusEvents& listener) { listener.UnitWentOffline(); });
    Poll.RedrawAll = true;
    BecomeUnreachable();
    if (Link.OpenCountsAsOnline()) {
        // The next tick opens the link again.
        Poll.LinkOpened = false;
        ErrorCode ignored = 0;
        Link.Close(Settings.ComPortNr, ignored);
    }
}

void StatusPoll::BecomeOnline() {
    Tell([](StatusEvents& listener) {
        listener.UnitReachableChanged(true);
        listener.PollIntervalChanged(PollInterval::Online);
    });
}

void StatusPoll::BecomeUnreachable() {
    Tell([](StatusEvents& listener) {
        listener.UnitReachableChanged(false);
        listener.PollIntervalChanged(PollInterval::Offline);
    });
}

void StatusPoll::TakeRecord(const DeviceReply& reply) {
    const size_t kind = KindIndex(Poll);
    const StatusRecord& last = Poll.LastStatus[kind];
    const bool forced = !Poll.Online || Poll.RedrawAll;
    StatusRecordUpdate record;
    record.Kind = static_cast<int>(kind);
    record.ToolNr = reply[0];
    record.StateBits = reply[1];
    record.ErrorBits = reply[3];
    record.AngleHundredths = MessageWord(reply);
    record.FlagsNew = forced || reply[1] != last[1];
    record.ErrorNew = forced || reply[3] != last[3];
    record.AngleNew = forced || record.AngleHundredths != MessageWord(last);
    if (record.FlagsNew) {
        TakeTeachResult(reply[1], record.AngleHundredths);
    }
    Poll.CurrentToolNr = reply[0];
    if (record.AngleNew) {
        const int32_t angle = record.AngleHundredths;
        Display.MeasuredAngle = angle;
        Tell([angle](StatusEvents& listener) { listener.MeasuredAngleTaken(angle); });
    }
    Poll.LastStatus[kind] = reply;
    if (Poll.BothKinds) {
        Poll.StatusKind = kind == 0 ? 1 : 0;
    }
    Poll.Online = true;
    Poll.RedrawAll = false;
    ++Processed;
    record.Status = StatusWith(reply, kind);
    Tell([&record](StatusEvents& listener) { listener.StatusRecordTaken(record); });
    Publish(record.Status);
}

void StatusPoll::TakeTeachResult(uint8_t stateBits, uint16_t angle) {
    const bool out1 = (stateBits & StateBit::Out1) != 0;
    const bool out2 = (stateBits & StateBit::Out2) != 0;
    const int32_t target = Display.TeachTarget;
    if (target == -1 || (!out1 && !out2)) {
        return;
    }
    // Out2 alone: the unit found nothing, the teach ends without a result.
    Display.TeachTarget = -1;
    if (!out1) {
        return;
    }
    if (target >= 0 && (target & TeachTargetEditorBit) != 0) {
        const double degrees = angle * 0.01;
        Tell([degrees](StatusEvents& listener) { listener.EditorAngleTaught(degrees); });
        return;
    }
    // Anything but a tool number would write outside the tool table: keep nothing.
    if (target < 0 || target >= ToolSlotCount) {
        return;
    }
    Config.ConfigImage.Tools[static_cast<size_t>(target)].Angle = HundredthsToValue(angle);
    BuildToolLines(Config);
    const int toolNr = target;
    Tell([toolNr](StatusEvents& listener) { listener.ToolAngleTaught(toolNr); });
}

UnitStatus StatusPoll::StatusWith(const DeviceReply& reply, size_t kind) const {
    UnitStatus next = Current;
    next.Online = true;
    next.StateBits = reply[1];
    next.ErrorBits = reply[3];
    // The selected tool and its angle come with records of kind 0; a view of the actual tool
    // asks for the other kind in turn.
    if (kind == 0) {
        next.ToolNr = reply[0];
        next.AngleHundredths = MessageWord(reply);
    }
    next.Identifier.reset();
    if (Config.NamespaceIdValid) {
        const auto& id = Config.NamespaceInfo.CU_Id;
        next.Identifier = std::string(id.data(), strnlen(id.data(), id.size()));
    }
    return next;
}

void StatusPoll::StatusNowOffline() {
    UnitStatus next = Current;
    next.Online = false;
    next.ToolNr = -1;
    next.StateBits = 0;
    next.AngleHundredths.reset();
    Publish(next);
}

void StatusPoll::Publish(const UnitStatus& status) {
    UnitStatus next = status;
    next.LinkOnline = Poll.Online;
    next.SimulatedUnit = Settings.UsesSimulatedUnit();
    if (next == Current) {
        return;
    }
    Current = next;
    for (UnitStatusObserver* observer : Observers) {
        observer->UnitStatusChanged(Current);
    }
}

} // namespace vg
