#pragma once

#include <string>
#include <vector>

namespace vg {

// The plant's MQTT broker, from the [broker] section.
struct BrokerSettings {
    std::string Host;
    int Port = 1883; // 8883 when a CA file is given and no port
    std::string ClientId;
    std::string TopicPrefix = "vigilo";
    std::string Username;
    std::string PasswordFile;
    std::string CaFile; // set: TLS, the broker's certificate verified against it
    int KeepaliveSeconds = 30;

    bool operator==(const BrokerSettings&) const = default;
};

// One unit, from a [unit NAME] section: a serial unit has a Port, a fieldbus unit a driver.
struct UnitSettings {
    std::string Name;
    int Line = 0;           // of its section header, for messages
    std::string Port;       // as written: a device path or COM1..COM6
    std::string DevicePath; // Port resolved; empty for a fieldbus unit
    std::string FieldbusDriver;
    int ComNr = 1;
    int Address = 50;
    int BackupHours = 24; // 0: no backups

    bool IsSerial() const { return !Port.empty(); }
};

struct GatewaySettings {
    BrokerSettings Broker;
    std::vector<UnitSettings> Units;
};

// One thing wrong in the file, with the line it is on.
struct ConfigFault {
    int Line = 0;
    std::string Text;
};

struct GatewayConfigResult {
    GatewaySettings Settings;
    std::vector<ConfigFault> Faults;

    bool Ok() const { return Faults.empty(); }
};

// What the reader needs from the machine, so that tests can name their own.
struct ConfigContext {
    std::string ComLinkDir; // where COMn links are looked for (the file's folder by default)
    std::string DevDir = "/dev/";
    std::string HostName; // the client id's default
};

// Reads and checks a gateway configuration file. Every fault is collected, not only the
// first: unknown sections and keys, malformed or out-of-range values, a unit with both or
// neither of port and fieldbus-driver, two units on one port or one driver library, a
// password file that group or others may read.
GatewayConfigResult ReadGatewayConfig(const std::string& path, const ConfigContext& context);

// The context of this machine for a file at `path`.
ConfigContext MachineConfigContext(const std::string& path);

// "FILE:LINE: text"
std::string FaultLine(const std::string& path, const ConfigFault& fault);

} // namespace vg
