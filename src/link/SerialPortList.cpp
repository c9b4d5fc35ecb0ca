#include "link/SerialPortList.h"

#include "link/ComLinks.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vg {

namespace fs = std::filesystem;

namespace {

// The COM numbers the program offers.
constexpr int16_t FirstComPort = 1;
constexpr int16_t LastComPort = 6;

std::vector<std::string> SortedNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool IsCharacterDevice(const std::string& path) {
    struct stat node {};
    return ::stat(path.c_str(), &node) == 0 && S_ISCHR(node.st_mode);
}

bool NumberedName(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Every ttyS node exists whether or not a UART is behind it; the serial core tells the
// port's type (0: none) without the device being opened.
bool HasUart(const SerialPortPlaces& places, const std::string& name) {
    const std::string folder = places.SysClassTty + name + "/";
    std::ifstream type(folder + "type");
    int portType = 0;
    if (type >> portType) {
        return portType != 0;
    }
    std::error_code ec;
    return fs::exists(folder + "device/driver", ec);
}

bool IsSerialName(const SerialPortPlaces& places, const std::string& name) {
    return NumberedName(name, "ttyUSB") || NumberedName(name, "ttyACM") ||
           (NumberedName(name, "ttyS") && HasUart(places, name));
}

class DeviceList {
public:
    // The entry of the device `path` leads to, made when it is new; nullptr when `path` leads
    // to no device.
    SerialDeviceInfo* EntryFor(const std::string& path) {
        const std::string device = FinalLinkTarget(path);
        if (SerialDeviceInfo* known = Find(device)) {
            return known;
        }
        if (!IsCharacterDevice(device)) {
            return nullptr;
        }
        Devices.push_back({});
        Devices.back().Device = device;
        return &Devices.back();
    }
    SerialDeviceInfo* Find(const std::string& device) {
        const auto it =
            std::find_if(Devices.begin(), Devices.end(),
                         [&device](const SerialDeviceInfo& d) { return d.Device == device; });
        return it != Devices.end() ? &*it : nullptr;
    }

    std::vector<SerialDeviceInfo> Devices;
};

void AddStableNames(DeviceList& list, const std::string& folder) {
    for (const std::string& name : SortedNames(folder)) {
        if (SerialDeviceInfo* entry = list.EntryFor(folder + name)) {
            entry->StableNames.push_back(folder + name);
        }
    }
}

void AddComPorts(DeviceList& list, const std::string& linkDir, const SerialPortPlaces& places) {
    for (int16_t port = FirstComPort; port <= LastComPort; ++port) {
        const std::string path = ComPortPath(linkDir, port, places.Dev);
        // A link of the user's is listed wherever it leads; the ttyS a COMn falls back to
        // only when it was found to be a serial port.
        const bool fallback = path == places.Dev + "ttyS" + std::to_string(port - 1);
        if (SerialDeviceInfo* entry =
                fallback ? list.Find(FinalLinkTarget(path)) : list.EntryFor(path)) {
            entry->ComPorts.push_back(port);
        }
    }
}

} // namespace

const std::string& SerialDeviceInfo::LinkTarget() const {
    return StableNames.empty() ? Device : StableNames.front();
}

std::vector<SerialDeviceInfo> ListSerialPorts(const std::string& linkDir,
                                              const SerialPortPlaces& places) {
    DeviceList list;
    AddStableNames(list, places.ById);
    AddStableNames(list, places.ByPath);
    for (const std::string& name : SortedNames(places.Dev)) {
        if (IsSerialName(places, name)) {
            list.EntryFor(places.Dev + name);
        }
    }
    AddComPorts(list, linkDir, places);
    for (SerialDeviceInfo& entry : list.Devices) {
        entry.MayOpen = ::access(entry.Device.c_str(), R_OK | W_OK) == 0;
        entry.Holders = FindPortHolders(entry.Device);
    }
    std::sort(
        list.Devices.begin(), list.Devices.end(),
        [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) { return a.Device < b.Device; });
    return std::move(list.Devices);
}

} // namespace vg
