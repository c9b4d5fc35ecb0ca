#include "status/SerialRecovery.h"

namespace vg {

bool SerialRecovery::OpenPort(ErrorCode& error) {
    Poll.LinkOpened = Link.Open(Settings.ComPortNr, error);
    // A block left from the old port must not pass for the new unit's answer.
    Link.StartReceiving();
    return Poll.LinkOpened;
}

void SerialRecovery::Recover() {
    if (Config.TransferBusy) {
        return;
    }
    if (Poll.LinkOpened && Link.HungUp()) {
        PortHungUp();
    }
    if (!Poll.LinkOpened && !Poll.Online && TryReopen()) {
        Reopened();
    }
}

void SerialRecovery::PortHungUp() {
    // The descriptor leads to a device that is gone; holding it would keep the name of a
    // pseudo-terminal taken and would never see the device come back.
    Link.TraceEvent(TraceEventKind::HangUp, "the device went away; the port is closed");
    Serial.StopReceiver();
    ErrorCode ignored = 0;
    Link.Close(Settings.ComPortNr, ignored);
    Serial.Slot.Clear();
    Poll.LinkOpened = false;
}

bool SerialRecovery::TryReopen() {
    ErrorCode error = 0;
    return OpenPort(error);
}

void SerialRecovery::Reopened() {
    // What was asked of the old port will never be answered.
    Link.TraceEvent(TraceEventKind::Reconnect, "the port is open again");
    Poll.RequestOutstanding = false;
}

} // namespace vg
