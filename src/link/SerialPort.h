#pragma once

#include "common/ErrorCode.h"
#include "link/LineTrace.h"
#include "link/ReceiveSlot.h"
#include "link/SerialOpenFailure.h"
#include "link/SerialReceiver.h"

#include <atomic>
#include <memory>
#include <string>
#include <termios.h>

namespace vg {

// The serial port on POSIX termios. "COMn" is looked for as a device or link named COMn in
// LinkDir, the folder of Konfig.Cfg (normally a symlink to /dev/ttyUSB0 or a simulator's
// pseudo-terminal), else it is /dev/ttyS<n-1>.
class SerialPort {
public:
    explicit SerialPort(ReceiveSlot& slot) : Slot(slot) {}
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    std::string LinkDir;          // ends with '/'
    std::string DeviceOverride;   // a device path given by the user instead of COMn
    std::string DevDir = "/dev/"; // where the fallback ttyS<n-1> lies

    // A port that was opened through a COMn link is opened again only through that link:
    // should the link go with the device, the fallback would be some unrelated port.

    std::string ResolveDevice(int16_t port) const;

    bool V24_Open(int16_t port, int baudIndex, int dataBits, int stopBitsIndex, int parityIndex,
                  int handshakeFlags, ErrorCode& error);
    // V24_Open with the unit's line: 19200 bit/s, 8 data bits, one stop bit, no parity, no
    // flow control.
    bool OpenUnitLine(int16_t port, ErrorCode& error);
    bool V24_Close(int16_t port, ErrorCode& error);
    // For a program that must end while its main thread is stuck: gives the open port back as
    // V24_Close does (line settings, low latency, exclusive mode, lock), from any thread, but
    // leaves the descriptor to the process's end. The port is of no further use.
    void ReleaseAfterSignal();
    // Writes the frame of n payload bytes. A write that fails is not reported (the missing
    // reply is the sign); the result is true when `error` holds 0.
    bool V24_SendFrame(const uint8_t* payload, size_t n, ErrorCode& error);

    bool IsOpen() const { return V24_OpenPort > 0; }
    // The device or link the open port was opened as; empty while closed.
    const std::string& OpenDevice() const { return OpenedDevice; }
    int16_t OpenPort() const { return V24_OpenPort; }
    // Why the last V24_Open failed, as far as the system told; Step::None after a success.
    const SerialOpenFailure& LastOpenFailure() const { return OpenFailure; }

    // Destroys a receiver left from earlier, creates a new one suspended and resumes it only
    // when the port is open.
    void StartReceiver();
    // Stop request, wake, wait, clear the request, destroy. Call before closing the port.
    void StopReceiver();
    bool ReceiverExists() const { return Receiver != nullptr; }
    bool ReceiverRunning() const { return Receiver != nullptr && Receiver->Resumed(); }

    // Frames written and received are reported here while it is set (nullptr: off). The
    // sink must stay alive as long as the port may use it.
    void SetTrace(LineTraceSink* trace) { V24_Trace.store(trace); }

    ReceiveSlot& Slot;

private:
    ErrorCode V24_SetLine(int baudIndex, int dataBits, int stopBitsIndex, int parityIndex,
                          int handshakeFlags);
    void CloseHandle();
    // Takes errno as it is now: call right after the call that failed.
    void RecordOpenFailure(SerialOpenFailure::Step step, int16_t port, const std::string& path);
    // USB adapters hold received bytes back for milliseconds unless asked not to; a driver
    // that has no such mode (a pseudo-terminal) refuses, which is fine.
    void AskForLowLatency();
    void RestoreLatency();
    void WriteAll(const uint8_t* bytes, size_t count);

    std::atomic<int> V24_Handle{-1};
    int16_t V24_OpenPort = -1;
    termios V24_SavedTimeouts{}; // the line settings found at open, restored at close
    std::atomic<uint32_t> V24_StopRequest{0};
    // Read by the receive thread too.
    std::atomic<LineTraceSink*> V24_Trace{nullptr};
    std::unique_ptr<SerialReceiver> Receiver;
    SerialOpenFailure OpenFailure;
    bool LowLatencyAdded = false;  // we switched it on, so close switches it off again
    std::string OpenedThroughLink; // the COMn link the last successful open went through
    std::string OpenedDevice;
};

} // namespace vg
