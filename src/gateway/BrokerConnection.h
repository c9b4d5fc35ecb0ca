#pragma once

#include "gateway/GatewayConfig.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace vg {

// The gateway's one connection to the plant's broker. libmosquitto's network thread keeps it:
// it connects, reconnects after a loss with a delay from 1 s doubling to 30 s, and sends the
// keepalive. What that thread learns is queued for the gateway's own thread, which `wake`
// tells that something is waiting.
class BrokerConnection {
public:
    enum class EventKind { Connected, Disconnected, Message };
    struct Event {
        EventKind Kind;
        std::string Topic;
        std::string Payload;
    };

    BrokerConnection(BrokerSettings settings, std::string willTopic, std::function<void()> wake);
    ~BrokerConnection();
    BrokerConnection(const BrokerConnection&) = delete;
    BrokerConnection& operator=(const BrokerConnection&) = delete;

    // Sets credentials, TLS and the last will ("offline", retained, on the will topic) and
    // starts connecting in the background. False with a message when a setting is refused.
    bool Start(std::string& error);

    // QoS 1. False when the message could not be handed to the connection (not connected):
    // the caller keeps it for later.
    bool Publish(const std::string& topic, const std::string& payload, bool retain);
    bool Subscribe(const std::string& pattern);

    std::vector<Event> TakeEvents();
    bool IsConnected() const;

    // Publishes `lastWord` on the will topic, retained, waits until the broker has it (at most
    // `timeout`), and disconnects, so that the broker does not send the will.
    void Stop(const std::string& lastWord, std::chrono::milliseconds timeout);

private:
    static void OnConnect(mosquitto*, void* self, int result);
    static void OnDisconnect(mosquitto*, void* self, int result);
    static void OnMessage(mosquitto*, void* self, const mosquitto_message* message);
    static void OnPublish(mosquitto*, void* self, int messageId);
    void Queue(Event event);
    void ConnectUntilReached();
    void EndBackgroundWork();

    BrokerSettings Settings;
    std::string WillTopic;
    std::function<void()> Wake;
    mosquitto* Handle = nullptr;
    std::thread FirstConnect;
    bool LoopRunning = false; // guarded by Mutex

    mutable std::mutex Mutex;
    std::condition_variable Changed; // Stopping set, or an acknowledgement while stopping
    std::vector<Event> Events;
    bool Stopping = false;
    std::set<int> AcknowledgedWhileStopping;
    bool Connected = false;
};

// The first line of a password file; false with "path: reason" when it cannot be read.
bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error);

} // namespace vg
