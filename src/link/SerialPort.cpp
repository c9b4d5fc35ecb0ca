#include "link/SerialPort.h"

#include "link/ComLinks.h"
#include "link/FrameCodec.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vg {

namespace {

bool PortNumberValid(int16_t port) {
    return port >= 1 && port <= 6;
}

std::optional<speed_t> BaudFromIndex(int index) {
    static constexpr std::array<speed_t, 13> Table = {
        B110, B0, B300, B600, B1200, B2400, B4800, B9600, B19200, B0, B38400, B57600, B115200};
    if (index < 0 || index >= static_cast<int>(Table.size()) || Table[index] == B0) {
        return std::nullopt;
    }
    return Table[index];
}

std::optional<tcflag_t> DataBitsFlag(int bits) {
    switch (bits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    case 8:
        return CS8;
    default:
        return std::nullopt;
    }
}

// Parity index: 0 space, 1 odd, 2 mark, 3 even, 4 none.
std::optional<tcflag_t> ParityFlags(int index) {
    switch (index) {
    case 0:
        return PARENB | CMSPAR;
    case 1:
        return PARENB | PARODD;
    case 2:
        return PARENB | CMSPAR | PARODD;
    case 3:
        return PARENB;
    case 4:
        return 0;
    default:
        return std::nullopt;
    }
}

// The unit's line.
constexpr int BaudIndex19200 = 8;
constexpr int DataBits = 8;
constexpr int StopBitsOne = 0;
constexpr int ParityNone = 4;
constexpr int NoHandshake = 0;

// How long a request may wait for room on the line before it is dropped; an 18-byte frame
// needs about 10 ms at 19200 bit/s, so only a stuck device gets near this.
constexpr int WriteTimeoutMs = 2000;

} // namespace

SerialPort::~SerialPort() {
    StopReceiver();
    if (V24_Handle >= 0) {
        ErrorCode ignored = 0;
        V24_Close(V24_OpenPort, ignored);
    }
}

std::string SerialPort::ResolveDevice(int16_t port) const {
    if (!DeviceOverride.empty()) {
        return DeviceOverride;
    }
    const std::string link = LinkDir + "COM" + std::to_string(port);
    if (!LinkDir.empty() && link == OpenedThroughLink) {
        return link; // gone with its device or not: never the fallback instead
    }
    return ComPortPath(LinkDir, port, DevDir);
}

bool SerialPort::V24_Open(int16_t port, int baudIndex, int dataBits, int stopBitsIndex,
                          int parityIndex, int handshakeFlags, ErrorCode& error) {
    error = 0;
    OpenFailure = {};
    if (!PortNumberValid(port)) {
        error = V24_ERR_PARAM;
        return false;
    }
    if (V24_Handle >= 0) {
        // Only one port at a time; the caller closes the old one before reopening.
        error = V24_ERR_OPEN;
        return false;
    }
    const std::string device = ResolveDevice(port);
    V24_Handle = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (V24_Handle < 0) {
        RecordOpenFailure(SerialOpenFailure::Step::Open, port, device);
        error = V24_ERR_OPEN;
        return false;
    }
    // Not shared: TIOCEXCL keeps other opens out, the lock also holds against root. The lock
    // comes first, so a port someone else holds is left as that holder set it.
    if (flock(V24_Handle, LOCK_EX | LOCK_NB) != 0) {
        RecordOpenFailure(SerialOpenFailure::Step::Lock, port, device);
        CloseHandle();
        error = V24_ERR_OPEN;
        return false;
    }
    ioctl(V24_Handle, TIOCEXCL);
    tcflush(V24_Handle, TCIOFLUSH);
    if (tcgetattr(V24_Handle, &V24_SavedTimeouts) != 0 ||
        V24_SetLine(baudIndex, dataBits, stopBitsIndex, parityIndex, handshakeFlags) != 0) {
        RecordOpenFailure(SerialOpenFailure::Step::Settings, port, device);
        ioctl(V24_Handle, TIOCNXCL);
        CloseHandle();
        error = V24_ERR_PARAM;
        return false;
    }
    AskForLowLatency();
    V24_OpenPort = port;
    OpenedDevice = device;
    if (DeviceOverride.empty() && !LinkDir.empty() && device.rfind(LinkDir, 0) == 0) {
        OpenedThroughLink = device;
    }
    return true;
}

bool SerialPort::OpenUnitLine(int16_t port, ErrorCode& error) {
    return V24_Open(port, BaudIndex19200, DataBits, StopBitsOne, ParityNone, NoHandshake, error);
}

void SerialPort::RecordOpenFailure(SerialOpenFailure::Step step, int16_t port,
                                   const std::string& path) {
    OpenFailure.FailedAt = step;
    OpenFailure.Reason = errno;
    OpenFailure.Path = path;
    OpenFailure.Port = DeviceOverride.empty() ? port : int16_t{0};
    OpenFailure.LinkDir = LinkDir;
}

void SerialPort::AskForLowLatency() {
    LowLatencyAdded = false;
    serial_struct info{};
    if (ioctl(V24_Handle, TIOCGSERIAL, &info) != 0 || (info.flags & ASYNC_LOW_LATENCY) != 0) {
        return;
    }
    info.flags |= ASYNC_LOW_LATENCY;
    LowLatencyAdded = ioctl(V24_Handle, TIOCSSERIAL, &info) == 0;
}

void SerialPort::RestoreLatency() {
    serial_struct info{};
    if (LowLatencyAdded && ioctl(V24_Handle, TIOCGSERIAL, &info) == 0) {
        info.flags &= ~ASYNC_LOW_LATENCY;
        ioctl(V24_Handle, TIOCSSERIAL, &info);
    }
    LowLatencyAdded = false;
}

ErrorCode SerialPort::V24_SetLine(int baudIndex, int dataBits, int stopBitsIndex, int parityIndex,
                                  int handshakeFlags) {
    const auto speed = BaudFromIndex(baudIndex);
    const auto size = DataBitsFlag(dataBits);
    const auto parity = ParityFlags(parityIndex);
    if (!speed || !size || !parity || stopBitsIndex < 0 || stopBitsIndex > 2) {
        errno = EINVAL;
        return V24_ERR_PARAM;
    }
    termios line{};
    if (tcgetattr(V24_Handle, &line) != 0) {
        return V24_ERR_PARAM;
    }
    cfmakeraw(&line);
    line.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    line.c_cflag |= CLOCAL | CREAD | *size | *parity;
    if (stopBitsIndex == 1) {
        line.c_cflag |= CSTOPB;
    }
    if ((handshakeFlags & 0x02) != 0) {
        line.c_cflag |= CRTSCTS;
    }
    line.c_iflag &= ~(IXON | IXOFF | IXANY);
    line.c_iflag |= INPCK;
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    cfsetispeed(&line, *speed);
    cfsetospeed(&line, *speed);
    if (tcsetattr(V24_Handle, TCSANOW, &line) != 0) {
        return V24_ERR_PARAM;
    }
    // DTR and RTS on; pseudo-terminals have no modem lines, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(V24_Handle, TIOCMBIS, &lines);
    return 0;
}

bool SerialPort::V24_Close(int16_t port, ErrorCode& error) {
    error = 0;
    if (!PortNumberValid(port)) {
        error = V24_ERR_PARAM;
        return false;
    }
    if (V24_OpenPort <= 0) {
        error = V24_ERR_NOT_OPEN;
        return false;
    }
    // The receive thread must never poll a closed descriptor.
    StopReceiver();
    int dtr = TIOCM_DTR;
    ioctl(V24_Handle, TIOCMBIC, &dtr);
    RestoreLatency();
    tcflush(V24_Handle, TCIOFLUSH);
    tcsetattr(V24_Handle, TCSANOW, &V24_SavedTimeouts);
    // The exclusive mode belongs to the terminal, not to this descriptor: left set, it keeps
    // every later open by another user out.
    ioctl(V24_Handle, TIOCNXCL);
    CloseHandle();
    return true;
}

void SerialPort::ReleaseAfterSignal() {
    const int fd = V24_Handle.load();
    if (fd < 0) {
        return;
    }
    serial_struct info{};
    if (LowLatencyAdded && ioctl(fd, TIOCGSERIAL, &info) == 0) {
        info.flags &= ~ASYNC_LOW_LATENCY;
        ioctl(fd, TIOCSSERIAL, &info);
    }
    tcsetattr(fd, TCSANOW, &V24_SavedTimeouts);
    ioctl(fd, TIOCNXCL);
    flock(fd, LOCK_UN);
}

void SerialPort::CloseHandle() {
    close(V24_Handle);
    V24_Handle = -1;
    V24_OpenPort = -1;
    OpenedDevice.clear();
}

bool SerialPort::V24_SendFrame(const uint8_t* payload, size_t n, ErrorCode& error) {
    if (V24_Handle >= 0) {
        const auto frame = V24_BuildFrame(payload, n);
        if (LineTraceSink* trace = V24_Trace.load()) {
            trace->TraceFrame(TraceDirection::Tx, TraceCarrier::SerialFrame, frame.data(),
                              frame.size());
        }
        WriteAll(frame.data(), frame.size());
    }
    return error == 0;
}

void SerialPort::WriteAll(const uint8_t* bytes, size_t count) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = write(V24_Handle, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return;
        }
        pollfd fd{V24_Handle, POLLOUT, 0};
        if (poll(&fd, 1, WriteTimeoutMs) <= 0 || (fd.revents & (POLLERR | POLLHUP)) != 0) {
            return;
        }
    }
}

void SerialPort::StartReceiver() {
    StopReceiver();
    Receiver = std::make_unique<SerialReceiver>(V24_Handle, Slot, V24_StopRequest, &V24_Trace);
    Receiver->SetHigherPriority();
    if (IsOpen()) {
        Receiver->Resume();
    }
}

void SerialPort::StopReceiver() {
    if (!Receiver) {
        return;
    }
    if (Receiver->Resumed()) {
        V24_StopRequest = 1;
        Receiver->Wake();
        Receiver->WaitFor();
        V24_StopRequest = 0;
    }
    Receiver.reset();
}

} // namespace vg
