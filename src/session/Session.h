#pragma once

#include "common/ProgramFolders.h"
#include "common/WriteFailure.h"
#include "config/model/ConfigState.h"
#include "link/CommSettings.h"
#include "link/DeviceLink.h"
#include "link/FieldbusDriver.h"
#include "link/FieldbusTransport.h"
#include "link/LineTraceFile.h"
#include "link/ParChannel.h"
#include "link/ReceiveSlot.h"
#include "link/SerialPort.h"
#include "sim/SimFieldbusMaster.h"
#include "sim/SimUnit.h"
#include "status/DisplayState.h"
#include "status/PollState.h"
#include "status/StatusPoll.h"

#include <memory>
#include <string>

namespace vg {

// Everything one run of the program holds, one of each, wired together. The windows and the
// command line build one; tests build a fresh one each.
struct Session {
    explicit Session(const ProgramFolders& folders);
    // Everything in one folder, as a portable copy keeps it (and vgctl --dir).
    explicit Session(const std::string& programDir);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The link's life is the session's: the front ends call these and never open, close or
    // flag the link themselves. The status poll reopens the link after a loss or a change.

    // Opens the link the settings name, with the fieldbus master they ask for, and starts the
    // serial receiver; false with the error code when it does not open (see
    // OpenFailureDetail). The poll takes it from there.
    bool Connect(ErrorCode& error);
    // Closes the link as a normal close does; nothing happens when it is closed. False with
    // the error code when the close failed (a fieldbus driver that did not close cleanly).
    bool Disconnect(ErrorCode& error);

    // What putting new communication settings in force came to.
    struct SettingsApplied {
        // Konfig.Cfg could not be written (Path empty when it was): the settings hold for
        // this run all the same.
        WriteFailure NotSaved;
        // The fieldbus driver the settings name could not be loaded (FieldbusDriverFailure
        // says why); the fieldbus stays offline.
        bool DriverFailed = false;
    };
    // Puts `settings` in force: the link is closed, the settings are saved to Konfig.Cfg in
    // the settings' folder (made when missing), the fieldbus master they ask for is selected,
    // and the poll opens the link again on its next tick.
    SettingsApplied ApplySettings(const CommSettings& settings);
    // The settings stay, but the port in use now leads elsewhere: the link is closed and the
    // poll opens it again on its next tick.
    void ReopenLink();

    // Whether the link is open, and whether the poll is still to reopen it after a change.
    bool LinkOpen() const { return Poll.LinkOpened; }
    bool ReopenPending() const { return Poll.ReconnectRequest; }
    // The fieldbus driver library in use; null for the built-in simulated unit.
    const FieldbusDriver* LoadedDriver() const { return Driver.get(); }

    // Starts a trace of the line into `path` (a trace already running is closed first); false
    // when the file cannot be written, with the reason in LineTrace.Failure().
    // `program` names the program in the trace's first line.
    bool StartLineTrace(const std::string& path, const std::string& program = "vgconfig");
    // Ends the trace; false when part of it could not be written (LineTrace.Failure()).
    bool StopLineTrace();

    ProgramFolders Folders;
    CommSettings Settings;
    // Before the link's parts: the receive thread may report to it until the port is closed.
    LineTraceFile LineTrace;
    // The trace's write failure has been told already (a long watch tells it when it happens).
    bool TraceFailureSaid = false;
    ReceiveSlot Slot;
    SerialPort Serial{Slot};
    // Fieldbus mode talks to the built-in simulated unit unless the settings name a driver.
    sim::SimUnit BuiltInUnit;
    sim::SimFieldbusMaster BuiltInMaster{BuiltInUnit};

private:
    // Loaded by SelectFieldbusMaster; made before and gone after the fieldbus that uses it.
    std::unique_ptr<FieldbusDriver> Driver;

public:
    FieldbusTransport Fieldbus{BuiltInMaster, Settings};
    DeviceLink Link{Settings, Serial, Fieldbus};
    PollState Poll;
    ParChannel Par{Link, Poll.RequestOutstanding};
    ConfigState Config;
    DisplayState Display;
    // The front ends listen with Status.AddListener and observe the unit's status with
    // Status.AddObserver; they call Status.Tick on every timer event.
    StatusPoll Status{Settings, Link, Serial, Poll, Display, Config};

    // Which driver could not be loaded and why, as the line below the start-up failure
    // message; empty when none failed.
    std::string FieldbusDriverFailure() const;
    // Why the link named by the settings did not open, as far as is known: the serial
    // device and the system's reason, or the driver that could not be loaded.
    std::string OpenFailureDetail() const;

private:
    // Puts the master the settings ask for behind the fieldbus: the built-in simulated unit,
    // or the driver library they name, loaded now unless it is loaded already. Called with the
    // link closed, at start and whenever the settings changed. False when the driver cannot
    // be loaded: the fieldbus then stays offline, never on the simulated unit, until the
    // settings change.
    bool SelectFieldbusMaster();
    // Stops the receiver and closes the link, open or not, and asks the poll to open it
    // again.
    void CloseForReopen();
};

} // namespace vg
