#include "link/ParChannel.h"

#include <algorithm>
#include <cassert>

namespace vg {

namespace {
constexpr int LastElementIndex = 127; // its element flag is not checked
} // namespace

void ParChannel::StartTimeout(std::chrono::milliseconds duration) {
    Deadline = Time->Now() + duration;
}

bool ParChannel::TimedOut() const {
    return Time->Now() >= Deadline;
}

bool ParChannel::Read(uint8_t parameter, int count, int startIndex, uint8_t* destination,
                      bool forceByteMode, ErrorCode& error) {
    return Transfer(Direction::Read, parameter, count, startIndex, destination, forceByteMode,
                    error);
}

bool ParChannel::Write(uint8_t parameter, int count, int startIndex, const uint8_t* source,
                       bool forceByteMode, ErrorCode& error) {
    // Transfer only reads from the buffer when writing.
    return Transfer(Direction::Write, parameter, count, startIndex, const_cast<uint8_t*>(source),
                    forceByteMode, error);
}

bool ParChannel::ReadByte(uint8_t parameter, uint8_t& destination, ErrorCode& error) {
    return Read(parameter, 1, 0, &destination, false, error);
}

bool ParChannel::WriteByte(uint8_t parameter, uint8_t source, ErrorCode& error) {
    return Write(parameter, 1, 0, &source, false, error);
}

bool ParChannel::ReadUnitId(std::array<uint8_t, CuIdBlockSize>& destination, ErrorCode& error) {
    if (Read(CuIdParameter, CuIdBlockSize, 0, destination.data(), false, error)) {
        for (size_t i = 0; i < 8; ++i) {
            if (destination[i] < '0' || destination[i] > '9') {
                error = TransferCode::NoCuId;
                break;
            }
        }
    }
    return error == 0;
}

bool ParChannel::WriteUnitId(const std::array<uint8_t, CuIdBlockSize>& block, ErrorCode& error) {
    return Write(CuIdParameter, CuIdBlockSize, 0, block.data(), false, error);
}

bool ParChannel::Transfer(Direction direction, uint8_t parameter, int count, int startIndex,
                          uint8_t* data, bool forceByteMode, ErrorCode& error) {
    assert(startIndex >= 0 && count >= 0 && startIndex + count <= 128);
    const bool wordMode = count % 2 == 0 && !forceByteMode;
    const int step = wordMode ? 2 : 1;
    for (int i = startIndex; i < startIndex + count && error == 0;) {
        if (!SynchroniseWithStatus(error)) {
            return false;
        }
        uint8_t* element = data + (i - startIndex);
        DeviceRequest request{};
        request[0] = parameter;
        request[1] =
            direction == Direction::Read ? RequestCode::ParameterRead : RequestCode::ParameterWrite;
        request[2] = static_cast<uint8_t>(i | (wordMode ? ElementWordMode : 0));
        if (direction == Direction::Write) {
            request[4] = element[0];
            request[5] = wordMode ? element[1] : 0;
        }
        DeviceReply reply{};
        if (!SendAndAwaitReply(request, reply, error)) {
            return false;
        }
        if ((reply[1] & ReplyFlag::Acknowledged) == 0) {
            error = RefusalCode(reply, direction);
            break;
        }
        ParState = 0;
        if (reply[0] != parameter ||
            (i != LastElementIndex && (reply[2] & ElementNotAccepted) != 0)) {
            error = TransferCode::Synchronisation;
            break;
        }
        if (direction == Direction::Read) {
            element[0] = reply[4];
            if (wordMode) {
                element[1] = reply[5];
            }
        }
        i += step;
    }
    return error == 0;
}

ErrorCode ParChannel::RefusalCode(const DeviceReply& reply, Direction direction) {
    const uint8_t refusal =
        direction == Direction::Read ? ReplyFlag::ReadRefused : ReplyFlag::WriteRefused;
    if ((reply[1] & refusal) == 0) {
        return TransferCode::SoftError;
    }
    return direction == Direction::Read ? TransferCode::ReadRefused : TransferCode::WriteRefused;
}

bool ParChannel::SynchroniseWithStatus(ErrorCode& error) {
    if (!StatusRequestOutstanding) {
        Link.DropEarlierReply();
        Link.RequestStatus(error);
    }
    StartTimeout(Timeout);
    DeviceReply status{};
    const bool got = AwaitBlock(status, error, true,
                                [](const DeviceReply& block) { return !IsChannelBlock(block); });
    // The status reply the poll was waiting for has been taken here.
    StatusRequestOutstanding = false;
    return got;
}

bool ParChannel::SendAndAwaitReply(const DeviceRequest& request, DeviceReply& reply,
                                   ErrorCode& error, bool recordLinkErrors) {
    ParState = 1;
    Link.DropEarlierReply();
    Link.Send(request, error);
    Link.Service(false);
    StartTimeout(Timeout);
    const bool got = AwaitBlock(reply, error, recordLinkErrors, [](const DeviceReply& block) {
        return (block[1] & ReplyFlag::ParameterReply) != 0;
    });
    if (got) {
        ParState = 2;
    }
    return got;
}

template <typename Accept>
bool ParChannel::AwaitBlock(DeviceReply& block, ErrorCode& error, bool recordLinkErrors,
                            Accept accept) {
    ErrorCode lastLinkError = 0;
    // When a block of the wrong kind makes the request go out again, unless the right one came.
    bool repeatDue = false;
    TimePoint repeatAt{};
    while (true) {
        if (Interrupt != nullptr && Interrupt->load()) {
            error = TransferCode::Interrupted;
            return false;
        }
        if (Link.ReplyAvailable()) {
            DeviceReply received{};
            ErrorCode linkError = 0;
            // Inputs the fieldbus master marks invalid are no answer of the unit, whatever
            // they hold: the status poll ignores them, and so does every transfer.
            bool heard = false;
            const bool ok = Link.TakeAnswer(received, linkError, heard);
            lastLinkError = linkError;
            if (recordLinkErrors) {
                error = linkError;
            }
            if (ok && accept(received)) {
                block = received;
                return true;
            }
            if (!ok) {
                // A block that failed its checks may have been the reply: ask again (it is
                // never used). On the fieldbus the service call runs the exchange cycle that
                // brings new inputs.
                Link.Service(true);
                repeatDue = false;
            } else if (!repeatDue) {
                // A sound block of the wrong kind: the unit did not take the request and
                // answered with the other kind, or it answers an earlier request and the
                // right block is right behind it. Asked again at once, every such surplus
                // reply would make one more; so the request goes out again only when nothing
                // right followed within the link's grace (none on the fieldbus, whose inputs
                // hold one block only).
                repeatDue = true;
                repeatAt = Time->Now() + Link.RepeatGrace();
            }
        }
        if (repeatDue && Time->Now() >= repeatAt) {
            Link.Service(true);
            repeatDue = false;
        }
        if (TimedOut()) {
            error = recordLinkErrors && lastLinkError != 0 ? lastLinkError : TransferCode::Timeout;
            if (Link.Tracing()) {
                Link.TraceEvent(TraceEventKind::Timeout,
                                "no answer to " + DescribeRequest(Link.LastRequest) + " within " +
                                    std::to_string(Timeout.count()) + " ms");
            }
            return false;
        }
        TimePoint until = Deadline;
        if (repeatDue) {
            until = std::min(until, repeatAt);
        }
        if (Interrupt != nullptr) {
            until = std::min(until, Time->Now() + InterruptCheck);
        }
        Time->WaitUntil(until, [this](TimePoint wake) { Link.WaitReply(wake); });
    }
}

} // namespace vg
