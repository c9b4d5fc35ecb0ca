#include "support/MosquittoBroker.h"

#include "support/ChildProcess.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <pwd.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vg::test {

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool Accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

std::string CurrentUserName() {
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr ? entry->pw_name : "root";
}

void EndChild(pid_t& pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}

} // namespace

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

MosquittoBroker::MosquittoBroker(Options options, int port)
    : Settings(std::move(options)), ListenPort(port == 0 ? FreeLoopbackPort() : port) {}

MosquittoBroker::~MosquittoBroker() {
    Stop();
}

bool MosquittoBroker::Start() {
    const std::string config = (Folder / "mosquitto.conf").string();
    {
        std::ofstream out(config);
        out << "listener " << ListenPort << " 127.0.0.1\n"
            << "persistence false\n"
            << "log_dest stderr\n"
            // Run as root, the broker would become the user mosquitto, which may not read the
            // test's files: it stays the user that runs the test.
            << "user " << CurrentUserName() << "\n";
        if (Settings.PasswordFile.empty()) {
            out << "allow_anonymous true\n";
        } else {
            out << "allow_anonymous false\npassword_file " << Settings.PasswordFile << "\n";
        }
        if (!Settings.CaFile.empty()) {
            out << "cafile " << Settings.CaFile << "\ncertfile " << Settings.CertFile
                << "\nkeyfile " << Settings.KeyFile << "\n";
        }
    }
    const int log = open((Folder / "broker.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    Pid = SpawnProgram({"mosquitto", "-c", config}, -1, log, log);
    close(log);
    for (int tries = 0; tries < 200 && Pid > 0; ++tries) {
        if (Accepts(ListenPort)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

void MosquittoBroker::Stop() {
    EndChild(Pid);
}

TopicRecorder::TopicRecorder(int port, const std::string& topic,
                             const std::vector<std::string>& extra) {
    std::vector<std::string> argv = {"mosquitto_sub",      "-h", "127.0.0.1", "-p",
                                     std::to_string(port), "-v", "-t",        topic};
    argv.insert(argv.end(), extra.begin(), extra.end());
    const int out = open((Folder / "messages").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    Pid = SpawnProgram(argv, -1, out, -1);
    close(out);
}

TopicRecorder::~TopicRecorder() {
    EndChild(Pid);
}

std::vector<std::string> TopicRecorder::Lines() const {
    std::ifstream in(Folder / "messages");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string TopicRecorder::WaitFor(const std::string& text,
                                   std::chrono::milliseconds timeout) const {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
        for (const std::string& line : Lines()) {
            if (line.find(text) != std::string::npos) {
                return line;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < until);
    return {};
}

} // namespace vg::test
