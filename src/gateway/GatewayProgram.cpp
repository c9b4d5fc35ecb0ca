#include "gateway/GatewayProgram.h"

#include "common/CommandLine.h"
#include "common/ProgramFolders.h"
#include "common/ProgramInfo.h"
#include "gateway/Gateway.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <systemd/sd-daemon.h>
#include <thread>

namespace vg {

namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

struct GatewayOptions {
    std::string ConfigFile;
    std::string CheckFile;
    std::string StateDir;
    bool Help = false;
    bool Version = false;
};

std::vector<CommandLineOption> Options(GatewayOptions& options) {
    const auto text = [](std::string& target) {
        return [&target](const std::string& value, std::string&) {
            target = value;
            return true;
        };
    };
    const auto flag = [](bool& target) {
        return [&target](const std::string&, std::string&) {
            target = true;
            return true;
        };
    };
    return {
        {"config", 'c', "FILE", "the gateway's configuration file", text(options.ConfigFile)},
        {"state-dir", 0, "DIR", "where the backups go (default: see below)",
         text(options.StateDir)},
        {"check-config", 0, "FILE", "check the file, name each fault with its line, and exit",
         text(options.CheckFile)},
        {"help", 'h', "", "show this help and exit", flag(options.Help)},
        {"version", 'V', "", "show the version and exit", flag(options.Version)},
    };
}

std::string Help(const std::vector<CommandLineOption>& options) {
    return "usage: vg-gateway --config FILE [--state-dir DIR]\n"
           "       vg-gateway --check-config FILE\n"
           "Watches the units a configuration file names, publishes their status and events\n"
           "on an MQTT broker and keeps a dated backup of each unit's configuration.\n\n" +
           OptionsHelp(options) +
           "\nThe state folder defaults to $STATE_DIRECTORY, else\n"
           "$XDG_STATE_HOME/vg-config/gateway (~/.local/state/vg-config/gateway).\n"
           "SIGHUP reads the configuration again; SIGTERM ends the gateway.\n";
}

// Reads the file; prints each fault as FILE:LINE: text.
bool ReadSettings(const std::string& path, GatewaySettings& settings, std::ostream& err) {
    const GatewayConfigResult result = ReadGatewayConfig(path, MachineConfigContext(path));
    for (const ConfigFault& fault : result.Faults) {
        err << FaultLine(path, fault) << '\n';
    }
    if (result.Ok()) {
        settings = result.Settings;
    }
    return result.Ok();
}

// SIGTERM, SIGINT and SIGHUP reach this thread only: it notes them and wakes the gateway.
class SignalWatch {
public:
    SignalWatch() {
        sigemptyset(&Signals);
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            sigaddset(&Signals, signal);
        }
        pthread_sigmask(SIG_BLOCK, &Signals, nullptr);
    }
    ~SignalWatch() { Finish(); }
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    void Start(Gateway& gateway) {
        Watcher = std::thread([this, &gateway] {
            int signal = 0;
            while (!Stop && sigwait(&Signals, &signal) == 0) {
                if (signal == SIGHUP) {
                    Reload = true;
                } else {
                    Stop = true;
                }
                gateway.Wake();
            }
        });
    }

    // Ends the watcher; the gateway it wakes may go after this.
    void Finish() {
        if (Watcher.joinable()) {
            // The watcher waits for a signal: one of those it takes wakes it to see Stop.
            Stop = true;
            pthread_kill(Watcher.native_handle(), SIGHUP);
            Watcher.join();
        }
    }

    std::atomic<bool> Stop{false};
    std::atomic<bool> Reload{false};

private:
    sigset_t Signals{};
    std::thread Watcher;
};

std::chrono::microseconds WatchdogPeriod() {
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) > 0) {
        return std::chrono::microseconds(usec / 2);
    }
    return std::chrono::hours(24);
}

void Reload(Gateway& gateway, const std::string& path, std::ostream& err) {
    sd_notify(0, "RELOADING=1");
    GatewaySettings settings;
    if (ReadSettings(path, settings, err)) {
        std::string error;
        gateway.Apply(std::move(settings), error);
        err << "vg-gateway: " << path << " read again" << std::endl;
    } else {
        err << "vg-gateway: " << path << " has faults; the gateway goes on as it was" << std::endl;
    }
    sd_notify(0, "READY=1");
}

int Serve(const std::string& path, GatewaySettings settings, const std::string& stateDir,
          std::ostream& err) {
    SignalWatch signals;
    Gateway gateway(std::move(settings), stateDir, err);
    std::string error;
    if (!gateway.Start(error)) {
        err << "vg-gateway: " << error << '\n';
        return ExitFailure;
    }
    signals.Start(gateway);
    sd_notify(0, "READY=1");
    const auto watchdog = WatchdogPeriod();
    auto nextPing = std::chrono::steady_clock::now();
    while (!signals.Stop) {
        if (signals.Reload.exchange(false)) {
            Reload(gateway, path, err);
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextPing) {
            sd_notify(0, "WATCHDOG=1");
            nextPing = now + watchdog;
        }
        gateway.RunUntil(nextPing);
    }
    sd_notify(0, "STOPPING=1");
    signals.Finish();
    gateway.Stop();
    return ExitSuccess;
}

} // namespace

std::string DefaultStateFolder() {
    if (const char* systemd = std::getenv("STATE_DIRECTORY"); systemd != nullptr && *systemd) {
        const std::string first = std::string(systemd).substr(0, std::strcspn(systemd, ":"));
        return first + "/";
    }
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return std::string(state) + "/vg-config/gateway/";
    }
    const UserEnvironment user = UserEnvironment::OfThisProcess();
    if (!user.Home.empty()) {
        return user.Home + "/.local/state/vg-config/gateway/";
    }
    return {};
}

int RunGateway(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    GatewayOptions options;
    const std::vector<CommandLineOption> table = Options(options);
    std::vector<std::string> operands;
    std::string error;
    if (!ParseCommandLine(args, table, operands, error) || !operands.empty()) {
        err << "vg-gateway: " << (error.empty() ? "unexpected " + operands.front() : error)
            << "\nTry 'vg-gateway --help' for more information.\n";
        return ExitUsage;
    }
    if (options.Help) {
        out << Help(table);
        return ExitSuccess;
    }
    if (options.Version) {
        out << "vg-gateway " << ProgramVersion << '\n';
        return ExitSuccess;
    }
    GatewaySettings settings;
    if (!options.CheckFile.empty()) {
        return ReadSettings(options.CheckFile, settings, err) ? ExitSuccess : ExitUsage;
    }
    if (options.ConfigFile.empty()) {
        err << "vg-gateway: --config FILE is needed\n"
            << "Try 'vg-gateway --help' for more information.\n";
        return ExitUsage;
    }
    if (!ReadSettings(options.ConfigFile, settings, err)) {
        return ExitUsage;
    }
    std::string stateDir = options.StateDir.empty() ? DefaultStateFolder() : options.StateDir;
    if (!stateDir.empty() && stateDir.back() != '/') {
        stateDir += '/';
    }
    if (stateDir.empty() || !MakeFolders(stateDir, PrivateFolderMode)) {
        err << "vg-gateway: "
            << (stateDir.empty() ? "no state folder: give --state-dir"
                                 : stateDir + ": " + std::strerror(errno))
            << '\n';
        return ExitFailure;
    }
    return Serve(options.ConfigFile, std::move(settings), stateDir, err);
}

} // namespace vg
