#pragma once

#include "link/PortHolders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vg {

// Where serial devices are looked for; every folder ends with '/'. Tests point them at
// folders of their own.
struct SerialPortPlaces {
    std::string Dev = "/dev/";
    std::string ById = "/dev/serial/by-id/";
    std::string ByPath = "/dev/serial/by-path/";
    std::string SysClassTty = "/sys/class/tty/";
};

// One serial device that is present.
struct SerialDeviceInfo {
    std::string Device;                   // the device node, every link followed
    std::vector<std::string> StableNames; // names that stay when the plug order changes
    std::vector<int16_t> ComPorts;        // the COMn that lead to it
    bool MayOpen = false;                 // this user may read and write it
    std::vector<PortHolder> Holders;      // other programs that have it open or locked

    bool InUse() const { return !Holders.empty(); }
    // What a COMn link should lead to: the first stable name, else the device itself.
    const std::string& LinkTarget() const;
};

// Every serial device present: the stable names under by-id and by-path with the devices they
// lead to, ttyUSB*, ttyACM*, the ttyS* with a UART behind them, and whatever a COMn link in
// `linkDir` leads to. Sorted by device. Nothing is opened.
std::vector<SerialDeviceInfo> ListSerialPorts(const std::string& linkDir,
                                              const SerialPortPlaces& places = {});

} // namespace vg
