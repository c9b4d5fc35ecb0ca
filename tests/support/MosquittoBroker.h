#pragma once

#include "support/TempDir.h"

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vg::test {

// A real mosquitto broker of the test's own on a free loopback port, ended with the test.
class MosquittoBroker {
public:
    struct Options {
        std::string PasswordFile; // set: only users of this file may connect
        std::string CaFile;       // set with the two below: TLS only
        std::string CertFile;
        std::string KeyFile;
    };

    MosquittoBroker() : MosquittoBroker(Options{}) {}
    explicit MosquittoBroker(Options options, int port = 0);
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    // False when the broker did not take connections in time.
    bool Start();
    void Stop(); // SIGTERM, waits
    bool Running() const { return Pid > 0; }
    int Port() const { return ListenPort; }

private:
    Options Settings;
    int ListenPort;
    TempDir Folder;
    pid_t Pid = -1;
};

// A loopback TCP port that nothing listens on at the moment of the call.
int FreeLoopbackPort();

// mosquitto_sub on the broker: collects the messages of `topic` (with their topics, -v) into
// a file until it is ended.
class TopicRecorder {
public:
    TopicRecorder(int port, const std::string& topic, const std::vector<std::string>& extra = {});
    ~TopicRecorder();
    TopicRecorder(const TopicRecorder&) = delete;
    TopicRecorder& operator=(const TopicRecorder&) = delete;

    // The lines received so far ("topic payload").
    std::vector<std::string> Lines() const;
    // Waits until a line holds `text`; the line, or "" after `timeout`.
    std::string WaitFor(const std::string& text,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    TempDir Folder;
    pid_t Pid = -1;
};

} // namespace vg::test
