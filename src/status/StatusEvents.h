#pragma once

#include "common/ErrorCode.h"
#include "status/UnitStatus.h"

#include <cstdint>

namespace vg {

// Where the rhythm of the records stands; an online lamp blinks with it. Online as the front
// ends count it (the fieldbus open alone counts); Beat counts the records taken, modulo
// BeatsPerCycle.
struct StatusHeartbeat {
    bool Online = false;
    uint16_t Beat = 0;
    uint16_t BeatsPerCycle = 2;

    // Lit in the second half of each cycle.
    bool Lit() const { return ((BeatsPerCycle / 2) & Beat) != 0; }
    // The beats at which the lamp turns: the first of each half.
    bool AtTurn() const { return Beat == 0 || Beat == BeatsPerCycle / 2; }
};

// One status record as the poll took it, and what of it a front end that draws field by
// field has not been shown yet.
struct StatusRecordUpdate {
    int Kind = 0; // 0: the selected tool's record; 1: the actual tool's (see AskBothKinds)
    int ToolNr = 0;
    uint8_t StateBits = 0;
    uint8_t ErrorBits = 0;
    uint16_t AngleHundredths = 0;
    // New against the last record of the same kind; all of them after the unit was offline
    // or when a redraw was asked for.
    bool FlagsNew = false;
    bool ErrorNew = false;
    bool AngleNew = false;
    // The unit's status with this record taken.
    UnitStatus Status;
};

// What the status poll tells the program around it, beyond the unit's status itself. Every
// call does nothing unless overridden: each front end takes what it needs.
class StatusEvents {
public:
    virtual ~StatusEvents() = default;
    // The next tick is wanted after this many milliseconds.
    virtual void PollIntervalChanged(int /*milliseconds*/) {}
    // The unit can be worked with (it answers, or the fieldbus link opened), or no longer.
    virtual void UnitReachableChanged(bool /*reachable*/) {}
    // The link did not open after the communication settings changed; told once a change.
    virtual void LinkOpenFailed(ErrorCode /*error*/) {}
    // A record brought a measured angle not shown yet (records of either kind).
    virtual void MeasuredAngleTaken(int32_t /*hundredths*/) {}
    // A teach stored its angle in this tool; the tool lines are built anew.
    virtual void ToolAngleTaught(int /*toolNr*/) {}
    // A teach for the single-tool editor ended with this angle in degrees.
    virtual void EditorAngleTaught(double /*degrees*/) {}
    // A status record was taken.
    virtual void StatusRecordTaken(const StatusRecordUpdate& /*record*/) {}
    // A record like the last of its kind came at a turn of the heartbeat: only the online
    // lamp changes.
    virtual void HeartbeatTurned() {}
    // The unit went offline (lost, or the link is made anew): what it reported is unknown.
    virtual void UnitWentOffline() {}
};

} // namespace vg
