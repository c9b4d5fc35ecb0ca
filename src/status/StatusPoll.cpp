#include "status/StatusPoll.h"

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

void StatusPoll::Status_StartLink() {
    ErrorCode error = 0;
    Recovery.OpenPort(error);
    if (Poll.LinkOpened && Link.OpenCountsAsOnline()) {
        // Online for the windows, as the open alone counts; found once the unit answers.
        UnitAnswered = false;
        Poll.Online = true;
        Host().EnableVigiloButton(true);
        Host().EnableMonitorMode(true);
        Host().SetTimerInterval(PollInterval::Online);
    }
    if (ReportOpenFailure) {
        ReportOpenFailure = false;
        if (!Poll.LinkOpened && error != 0) {
            Host().LinkOpenFailed(error);
        }
    }
}

void StatusPoll::Status_QueueCommand(const DeviceRequest& request) {
    if (!Link.RepliesInTurn()) {
        Link.Link_Service(false);
        Link.Link_Send(request, Config.TransferError);
        return;
    }
    Poll.PendingCommand = request;
    Poll.PendingCommandFlag = true;
}

void StatusPoll::Status_Tick() {
    if (Poll.ReconnectRequest) {
        Reconnect();
        return;
    }
    if (!Poll.LinkOpened && Link.OpenCountsAsOnline()) {
        // Closed when the unit was lost: opened again, which brings the unit back online.
        Status_StartLink();
        return;
    }
    // Adapters come and go: a port that hung up or did not open is opened again.
    Recovery.Status_Recover();
    RunPoll();
}

void StatusPoll::Reconnect() {
    Link.TraceEvent(TraceEventKind::Reconnect);
    Presenter.Status_Reset(Host().MainStatusBar());
    Poll.RedrawAll = true;
    Host().EnableVigiloButton(false);
    // Monitor mode needs an answering unit just as the chooser's button does.
    Host().EnableMonitorMode(false);
    Host().SetTimerInterval(PollInterval::Offline);
    Poll.Online = false;
    StatusNowOffline();
    Poll.ReconnectRequest = false;
    Poll.LinkOpened = false;
    UnitAnswered = false;
    // The old link is closed: what was asked on it will never be answered.
    Poll.RequestOutstanding = false;
    ReportOpenFailure = true;
    if (!Link.OpenCountsAsOnline()) {
        Status_StartLink();
    }
    // A link whose open counts as online is opened by the next tick.
}

void StatusPoll::RunPoll() {
    const bool targetChanged = Poll.StatusBarTarget != Poll.LastStatusBarTarget;
    const bool inTurn = Link.RepliesInTurn();
    if (inTurn && !Poll.RequestOutstanding && Poll.PendingCommandFlag) {
        // The command takes the place of this tick's request; its answer, if any, is read by
        // a later tick like a status reply.
        Link.Link_Send(Poll.PendingCommand, Config.TransferError);
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
        // Nothing to redraw but the lamps that blink with the counter.
        if (Poll.StatusBarTarget != nullptr) {
            Poll.StatusBarTarget->Repaint();
        } else if (MonitorView* monitor = Host().Monitor()) {
            monitor->MonitorShowLed();
        }
    }
    if ((reply[1] & StateBit::ParameterReply) != 0) {
        return; // a late parameter-channel answer, not a status record
    }
    ShowRecord(reply, targetChanged);
}

void StatusPoll::SendStatusRequest() {
    ErrorCode error = 0;
    Link.Link_Service(false);
    Link.Link_Send(MakeStatusRequest(Poll.StatusKind), error);
    Poll.ReplyCountdown = Poll.Online ? CountdownOnline : CountdownOffline;
    Link.Link_Service(false);
    Poll.RequestOutstanding = true;
}

bool StatusPoll::TakeReply(DeviceReply& reply, bool& gotReply) {
    ErrorCode error = 0;
    gotReply = Poll.Online;
    if (Link.Link_ReplyAvailable()) {
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
    Presenter.Status_Reset(Poll.StatusBarTarget);
    Poll.RedrawAll = true;
    Host().EnableVigiloButton(false);
    Host().EnableMonitorMode(false);
    Host().SetTimerInterval(PollInterval::Offline);
    if (Link.OpenCountsAsOnline()) {
        // The next tick opens the link again.
        Poll.LinkOpened = false;
        ErrorCode ignored = 0;
        Link.Link_Close(Settings.ComPortNr, ignored);
    }
}

void StatusPoll::BecomeOnline() {
    Host().EnableVigiloButton(true);
    Host().EnableMonitorMode(true);
    Host().SetTimerInterval(PollInterval::Online);
}

void StatusPoll::ShowRecord(const DeviceReply& reply, bool targetChanged) {
    StatusBarView* bar = Poll.StatusBarTarget;
    const StatusRecord& last = Poll.LastStatus[KindIndex(Poll)];
    const bool forced = !Poll.Online || targetChanged || Poll.RedrawAll;
    const uint16_t angle = MessageWord(reply);
    if (forced || reply[1] != last[1]) {
        Presenter.Status_ShowFlags(bar, reply[1], angle);
    }
    Poll.CurrentToolNr = reply[0];
    if (forced || reply[3] != last[3]) {
        Presenter.Status_ShowError(bar, reply[3]);
    }
    if (forced || angle != MessageWord(last)) {
        Presenter.Status_ShowAngle(bar, angle);
    }
    if (bar == nullptr) {
        if (MonitorView* monitor = Host().Monitor()) {
            monitor->MonitorShowTool();
        }
    }
    Poll.LastStatus[KindIndex(Poll)] = reply;
    const size_t kind = KindIndex(Poll);
    if (bar != nullptr) {
        Presenter.Status_ShowId(bar);
    } else if (Host().Monitor() != nullptr) {
        // The monitor window shows both kinds, one after the other.
        Poll.StatusKind = kind == 0 ? 1 : 0;
    }
    Poll.LastStatusBarTarget = Poll.StatusBarTarget;
    Poll.Online = true;
    Poll.RedrawAll = false;
    ++Processed;
    TakeIntoStatus(reply, kind);
}

void StatusPoll::TakeIntoStatus(const DeviceReply& reply, size_t kind) {
    UnitStatus next = Current;
    next.Online = true;
    next.StateBits = reply[1];
    next.ErrorBits = reply[3];
    // The selected tool and its angle come with records of kind 0; the monitor window asks
    // for the other kind in turn.
    if (kind == 0) {
        next.ToolNr = reply[0];
        next.AngleHundredths = MessageWord(reply);
    }
    next.Identifier.reset();
    if (Config.NamespaceIdValid) {
        const auto& id = Config.NamespaceInfo.CU_Id;
        next.Identifier = std::string(id.data(), strnlen(id.data(), id.size()));
    }
    Publish(next);
}

void StatusPoll::StatusNowOffline() {
    UnitStatus next = Current;
    next.Online = false;
    next.ToolNr = -1;
    next.StateBits = 0;
    next.AngleHundredths.reset();
    Publish(next);
}

void StatusPoll::Publish(const UnitStatus& next) {
    if (next == Current) {
        return;
    }
    Current = next;
    for (UnitStatusObserver* observer : Observers) {
        observer->UnitStatusChanged(Current);
    }
}

} // namespace vg
