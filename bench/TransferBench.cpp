// Upload and download of a 128-slot unit against vigilo-sim paced at the real line rate,
// compared with what the line itself allows. Prints figures; it passes or fails nothing.
#include "cli/Vgctl.h"
#include "config/transfer/Transfer.h"
#include "session/Session.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double LineRate = 19200.0; // bit/s
constexpr double BitsPerByte = 10.0; // start, 8 data, stop
constexpr double FrameBytes = 18.0;
// A transaction is a status request, its reply, the request and its reply.
constexpr int FramesPerTransaction = 4;

class BenchMessages : public vg::MessageService {
public:
    vg::MessageResult ShowMessage(const std::string& text, vg::MessageKind kind,
                                  vg::MessageButtons) override {
        if (kind == vg::MessageKind::Error || kind == vg::MessageKind::Warning) {
            std::cerr << "unexpected message: " << text << '\n';
            Failed = true;
        }
        return vg::MessageResult::Ok;
    }
    bool Failed = false;
};

class NoIdentifier : public vg::IdentifierPrompt {
public:
    void AskForIdentifier(vg::NamespaceInfo&, bool&) override {}
};

// vigilo-sim as its own process, so its processor time is not counted as ours.
class Simulator {
public:
    explicit Simulator(const std::vector<std::string>& args) {
        int out[2];
        if (pipe(out) != 0) {
            throw std::runtime_error("pipe failed");
        }
        Pid = fork();
        if (Pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            std::vector<std::string> all = {std::string(VG_BIN_DIR) + "/vigilo-sim"};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (auto& a : all) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        char c = 0;
        while (read(out[0], &c, 1) == 1 && c != '\n') {
            Device.push_back(c);
        }
        close(out[0]);
        if (Device.empty()) {
            throw std::runtime_error("vigilo-sim did not start");
        }
    }
    ~Simulator() { Stop(); }
    // Ends the simulator; its processor time in seconds.
    double Stop() {
        if (Pid <= 0) {
            return 0;
        }
        kill(Pid, SIGTERM);
        int status = 0;
        rusage usage{};
        wait4(Pid, &status, 0, &usage);
        Pid = -1;
        return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    }
    static double Seconds(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }

    std::string Device;

private:
    pid_t Pid = -1;
};

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Simulator::Seconds(usage.ru_utime) + Simulator::Seconds(usage.ru_stime);
}

std::string CpuModel() {
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("model name", 0) == 0) {
            return line.substr(line.find(':') + 2);
        }
    }
    return "unknown";
}

// A configuration that uses every slot, names and an identifier, so a download sends all
// that a download can send.
void FillConfiguration(vg::ConfigState& config) {
    for (int n = 0; n < vg::ToolSlotCount; ++n) {
        config.ConfigImage.Tools[static_cast<size_t>(n)] = {1, 1.5F * static_cast<float>(n), 0.5F,
                                                            n % 4};
        config.ToolNameTable[static_cast<size_t>(n)].Defined = 1;
        std::snprintf(config.ToolNameTable[static_cast<size_t>(n)].Name.data(), vg::ToolNameSize,
                      "tool %d", n);
    }
    config.ConfigImage.OutPulseTime = 20;
    config.NamespaceIdValid = true;
    std::memcpy(config.NamespaceInfo.CU_Id.data(), "00001234", vg::CuIdLength);
}

struct Figures {
    double Wall = 0;
    double Cpu = 0;
    int Transactions = 0;
};

void Print(const char* direction, int run, const Figures& f) {
    const double frames = f.Transactions * FramesPerTransaction;
    const double bound = frames * FrameBytes * BitsPerByte / LineRate;
    std::printf("%-9s %3d %6d %7.0f %8.3f %8.3f %7.4f %8.3f %6.2f%%\n", direction, run,
                f.Transactions, frames, f.Wall, bound, f.Wall / bound, f.Cpu,
                100.0 * f.Cpu / f.Wall);
}

// Uploads with the line trace off and on, in turns, and prints what the trace costs: the
// wall time of the upload and the program's processor time, which is where the trace's own
// work shows (the line's pace sets the wall time).
void TraceCost(vg::Session& session, const vg::TransferServices& services,
               const std::filesystem::path& traceFile, int runs) {
    Figures off, on;
    for (int run = 0; run < runs; ++run) {
        for (const bool traced : {false, true}) {
            if (traced && !session.StartLineTrace(traceFile.string())) {
                throw std::runtime_error("cannot write " + traceFile.string());
            }
            const double cpuBefore = ProcessCpuSeconds();
            const auto began = Clock::now();
            if (!vg::LoadFromUnit(session.Config, session.Par, services,
                                  session.Config.TransferError)) {
                throw std::runtime_error("upload failed");
            }
            Figures& f = traced ? on : off;
            f.Wall += std::chrono::duration<double>(Clock::now() - began).count();
            f.Cpu += ProcessCpuSeconds() - cpuBefore;
            if (traced && !session.StopLineTrace()) {
                throw std::runtime_error("trace incomplete");
            }
        }
    }
    const double lines = static_cast<double>(std::filesystem::file_size(traceFile));
    std::printf("line trace, %d uploads each way: wall %.3f s off, %.3f s on (%+.2f%%); "
                "cpu %.4f s off, %.4f s on, the trace's %.4f s = %.3f%% of the upload's wall time; "
                "%.0f bytes of trace per upload\n",
                runs, off.Wall / runs, on.Wall / runs, 100.0 * (on.Wall - off.Wall) / off.Wall,
                off.Cpu / runs, on.Cpu / runs, (on.Cpu - off.Cpu) / runs,
                100.0 * (on.Cpu - off.Cpu) / off.Wall, lines);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const auto dir =
        std::filesystem::temp_directory_path() / ("vg-transfer-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "CD_DATA");

    const std::vector<std::string> unit = {"--pace", "--variant", "4",        "--firmware",
                                           "1.04",   "--cu-id",   "00001234", "--demo-tools"};
    Simulator sim(unit);
    vg::Session session(dir.string() + "/");
    session.Settings.Mode = vg::CommMode::Serial;
    session.Serial.DeviceOverride = sim.Device;
    if (!vg::cli::OpenLink(session, std::cerr)) {
        return 1;
    }
    BenchMessages messages;
    vg::NoProgress progress;
    NoIdentifier identifier;
    const vg::TransferServices services{messages, progress, identifier};
    vg::ConfigState& config = session.Config;

    std::printf("transfer of a 128-slot unit, vigilo-sim paced at 19200 bit/s on a "
                "pseudo-terminal\n");
    std::printf("machine: %u processors, %s\n", std::thread::hardware_concurrency(),
                CpuModel().c_str());
    std::printf("%-9s %3s %6s %7s %8s %8s %7s %8s %7s\n", "direction", "run", "trans", "frames",
                "wall_s", "bound_s", "ratio", "cpu_s", "cpu");
    double cleanUpload = 0;
    for (int run = 1; run <= runs; ++run) {
        for (const bool upload : {true, false}) {
            if (!upload) {
                FillConfiguration(config);
            }
            const double cpuBefore = ProcessCpuSeconds();
            const auto began = Clock::now();
            const bool ok =
                upload ? vg::LoadFromUnit(config, session.Par, services, config.TransferError)
                       : vg::SaveToUnit(config, session.Par, services, config.TransferError);
            Figures f;
            f.Wall = std::chrono::duration<double>(Clock::now() - began).count();
            f.Cpu = ProcessCpuSeconds() - cpuBefore;
            if (!ok || messages.Failed) {
                std::cerr << "transfer failed with code " << config.TransferError << '\n';
                return 1;
            }
            // Identification, tool slots, global parameters, namespace block words.
            f.Transactions = 6 + config.ToolCapacity + 14 + 10;
            Print(upload ? "upload" : "download", run, f);
            if (upload) {
                cleanUpload = cleanUpload == 0 ? f.Wall : std::min(cleanUpload, f.Wall);
            }
        }
    }
    TraceCost(session, services, dir / "trace.txt", runs);
    vg::cli::CloseLink(session, std::cerr);
    const double simCpu = sim.Stop();
    std::printf("vigilo-sim processor time for all runs: %.3f s\n", simCpu);

    // The same upload on a noisy line: bursts of 1 to 8 random bytes every 50 ms.
    std::vector<std::string> noisyUnit = unit;
    noisyUnit.insert(noisyUnit.end(), {"--noise", "50:8"});
    Simulator noisy(noisyUnit);
    session.Serial.DeviceOverride = noisy.Device;
    if (!vg::cli::OpenLink(session, std::cerr)) {
        return 1;
    }
    const auto began = Clock::now();
    const bool ok = vg::LoadFromUnit(config, session.Par, services, config.TransferError);
    const double wall = std::chrono::duration<double>(Clock::now() - began).count();
    vg::cli::CloseLink(session, std::cerr);
    if (!ok || messages.Failed) {
        std::cerr << "upload under noise failed with code " << config.TransferError << '\n';
        return 1;
    }
    std::printf("upload with up to 8 noise bytes every 50 ms: %.3f s, %.2f times the fastest "
                "clean upload\n",
                wall, wall / cleanUpload);
    std::filesystem::remove_all(dir);
    return 0;
}
