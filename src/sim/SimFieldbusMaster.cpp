#include "sim/SimFieldbusMaster.h"

#include <algorithm>
#include <cstring>

namespace vg::sim {

namespace {
void WriteWord32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

bool IsStatusRequest(const DeviceRequest& r) {
    return r[1] == RequestCode::StatusKind0 || r[1] == RequestCode::StatusKind1;
}
} // namespace

uint32_t SimFieldbusMaster::OpenMaster(uint32_t /*reserved*/, const std::string& /*deviceName*/) {
    std::lock_guard lock(Mutex);
    MasterOpen = OpenResult == 0;
    return OpenResult;
}

uint32_t SimFieldbusMaster::CloseMaster() {
    std::lock_guard lock(Mutex);
    if (!MasterOpen) {
        return ErrNotOpen;
    }
    MasterOpen = false;
    SlaveAdded = false;
    return 0;
}

uint32_t SimFieldbusMaster::AddSlave(uint8_t station, uint8_t* /*outputRecord*/, uint32_t) {
    std::lock_guard lock(Mutex);
    if (!MasterOpen) {
        return ErrNotOpen;
    }
    // A slave at another address is simply never heard from.
    SlaveAdded = station == SlaveStation;
    LastHandled.reset();
    return 0;
}

uint32_t SimFieldbusMaster::RemoveSlave(uint8_t /*station*/) {
    std::lock_guard lock(Mutex);
    if (!MasterOpen) {
        return ErrNotOpen;
    }
    SlaveAdded = false;
    InputsValid = false;
    return 0;
}

uint32_t SimFieldbusMaster::WriteOutputs(uint8_t /*station*/, uint8_t* outputRecord) {
    std::lock_guard lock(Mutex);
    if (!MasterOpen) {
        return ErrNotOpen;
    }
    std::memcpy(Outputs.data(), outputRecord + FieldbusRequestOffset, Outputs.size());
    return 0;
}

uint32_t SimFieldbusMaster::RunCycle() {
    std::lock_guard lock(Mutex);
    if (!MasterOpen) {
        return ErrNotOpen;
    }
    PublishDueReply();
    if (!SlaveAdded || DueReply) {
        return 0; // no slave, or it is still answering the last request
    }
    if (!IsStatusRequest(Outputs) && LastHandled == Outputs) {
        return 0; // the slave acts on a command once, not on every cycle
    }
    LastHandled = Outputs;
    const auto reply = Unit.HandleRequest(Outputs);
    if (!reply) {
        InputsValid = !Unit.Silent();
        return 0;
    }
    DueReply = reply->Bytes;
    DueAt = Clock::now() + Unit.AnswerDelay();
    PublishDueReply();
    return 0;
}

void SimFieldbusMaster::PublishDueReply() {
    if (!DueReply || Clock::now() < DueAt) {
        return;
    }
    Inputs = *DueReply;
    InputsValid = true;
    DueReply.reset();
    ++Generation;
    InputsChanged.notify_all();
}

uint32_t SimFieldbusMaster::ReadInputs(uint8_t /*station*/, uint8_t* inputRecord, uint32_t) {
    std::lock_guard lock(Mutex);
    if (!MasterOpen) {
        return ErrNotOpen;
    }
    PublishDueReply();
    std::memset(inputRecord, 0, FieldbusInputRecordSize);
    const bool valid = SlaveAdded && InputsValid;
    if (valid) {
        std::memcpy(inputRecord + FieldbusReplyOffset, Inputs.data(), Inputs.size());
    }
    WriteWord32(inputRecord + FieldbusValidityOffset1, valid ? 1 : 0);
    WriteWord32(inputRecord + FieldbusValidityOffset2, valid ? 1 : 0);
    GenerationRead = Generation;
    return 0;
}

void SimFieldbusMaster::WaitForInputs(Clock::time_point deadline) {
    std::unique_lock lock(Mutex);
    const auto until = DueReply ? std::min(deadline, DueAt) : deadline;
    InputsChanged.wait_until(lock, until, [this] { return Generation != GenerationRead; });
    PublishDueReply();
}

void SimFieldbusMaster::SetOpenResult(uint32_t result) {
    std::lock_guard lock(Mutex);
    OpenResult = result;
}

bool SimFieldbusMaster::IsOpen() const {
    std::lock_guard lock(Mutex);
    return MasterOpen;
}

} // namespace vg::sim
