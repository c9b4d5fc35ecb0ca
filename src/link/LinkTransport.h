#pragma once

#include "common/ErrorCode.h"
#include "link/DeviceMessage.h"
#include "link/LineTrace.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace vg {

// One way of reaching the unit: the serial line (SerialLineTransport) or the fieldbus
// (FieldbusLinkTransport). DeviceLink chooses one by the settings and speaks only through this
// interface, so the poll and the parameter channel never ask which one it is; they ask what
// the way to the unit does.
class LinkTransport {
public:
    using Clock = std::chrono::steady_clock;

    LinkTransport() = default;
    LinkTransport(const LinkTransport&) = delete;
    LinkTransport& operator=(const LinkTransport&) = delete;
    virtual ~LinkTransport() = default;

    virtual bool Open(uint16_t port, ErrorCode& error) = 0;
    virtual bool Close(uint16_t port, ErrorCode& error) = 0;
    // Makes the link ready to hand over replies after an open: a serial line empties its
    // receive slot (a block from the old port is no answer of the new one) and starts its
    // receive thread.
    virtual void StartReceiving() = 0;
    virtual bool Send(const DeviceRequest& request, ErrorCode& error) = 0;
    virtual bool Receive(DeviceReply& reply, ErrorCode& error) = 0;
    // A reply may be taken now. On the fieldbus the inputs are always there.
    virtual bool ReplyAvailable() const = 0;
    // Whether the unit showed itself with the last receive (`received`: it succeeded). On the
    // line any frame does, even one that failed its checks; on the fieldbus only inputs that
    // were read and that the master marks valid (after a failed read the validity words left
    // are stale).
    virtual bool UnitHeard(bool received) const = 0;
    // A reply to an earlier request is waiting (the serial slot); a new request must take it
    // out of the way. The fieldbus inputs are overwritten by the next cycle instead.
    virtual bool HoldsEarlierReply() const = 0;
    // Replies come one per request, some time after it, so a request can be outstanding and
    // a command must wait its turn (the serial line). Otherwise the unit's inputs are read
    // whenever wanted, and a request is never outstanding (the fieldbus).
    virtual bool RepliesInTurn() const = 0;
    // Opening the link reaches the unit itself (the fieldbus master adds the unit's
    // station): the unit counts as online from the open, and a unit that is lost closes the
    // link, which the next poll opens again. A serial port stays open while the unit is away.
    virtual bool OpenCountsAsOnline() const = 0;
    // The link went bad under the program (a serial device that hung up or failed a read).
    virtual bool HungUp() const = 0;
    // After a sound block of the wrong kind, how long the right one may take to follow before
    // the request goes out again: a few frame times on the line; on the fieldbus the inputs
    // hold one block only, so at once.
    virtual std::chrono::milliseconds RepeatGrace() const = 0;
    // Asks the unit again: sends `last` again on the line, runs an exchange cycle on the
    // fieldbus (with or without `repeat`). The cycle's result, 0 on the line.
    virtual uint32_t Service(bool repeat, const DeviceRequest& last) = 0;
    // Sleeps until a reply may be there to take, or the deadline passes.
    virtual void WaitReply(Clock::time_point deadline) = 0;
    // The device or master a port number stands for, as the trace names it.
    virtual std::string PortName(uint16_t port) const = 0;
    // Why the last open failed, beyond its code; "" when nothing more is known.
    virtual std::string OpenFailureDetail() const = 0;
    virtual void SetTrace(LineTraceSink* trace) = 0;
};

} // namespace vg
