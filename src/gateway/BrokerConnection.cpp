#include "gateway/BrokerConnection.h"

#include "common/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mosquitto.h>

namespace vg {

namespace {

constexpr int QosAtLeastOnce = 1;
constexpr unsigned int FirstReconnectDelay = 1;
constexpr unsigned int LongestReconnectDelay = 30;
constexpr size_t LongestPassword = 4096;

void InitLibraryOnce() {
    static const int initialised = mosquitto_lib_init();
    (void)initialised;
}

std::string MosquittoError(int code) {
    if (code == MOSQ_ERR_ERRNO) {
        return std::strerror(errno);
    }
    return mosquitto_strerror(code);
}

} // namespace

bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error) {
    std::string bytes;
    if (!ReadFileStart(path, LongestPassword + 1, bytes)) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const size_t end = bytes.find_first_of("\r\n");
    if (end == std::string::npos && bytes.size() > LongestPassword) {
        error =
            path + ": the password is longer than " + std::to_string(LongestPassword) + " bytes";
        return false;
    }
    password = bytes.substr(0, end);
    if (password.empty()) {
        error = path + ": the file holds no password";
        return false;
    }
    return true;
}

BrokerConnection::BrokerConnection(BrokerSettings settings, std::string willTopic,
                                   std::function<void()> wake)
    : Settings(std::move(settings)), WillTopic(std::move(willTopic)), Wake(std::move(wake)) {
    InitLibraryOnce();
    Handle =
        mosquitto_new(Settings.ClientId.empty() ? nullptr : Settings.ClientId.c_str(), true, this);
    if (Handle != nullptr) {
        mosquitto_connect_callback_set(Handle, OnConnect);
        mosquitto_disconnect_callback_set(Handle, OnDisconnect);
        mosquitto_message_callback_set(Handle, OnMessage);
        mosquitto_publish_callback_set(Handle, OnPublish);
    }
}

BrokerConnection::~BrokerConnection() {
    EndBackgroundWork();
    if (Handle != nullptr) {
        mosquitto_destroy(Handle);
    }
}

bool BrokerConnection::Start(std::string& error) {
    if (Handle == nullptr) {
        error = "cannot make an MQTT client: " + std::string(std::strerror(errno));
        return false;
    }
    if (!Settings.Username.empty() || !Settings.PasswordFile.empty()) {
        std::string password;
        if (!Settings.PasswordFile.empty() &&
            !ReadPasswordFile(Settings.PasswordFile, password, error)) {
            return false;
        }
        const int result = mosquitto_username_pw_set(
            Handle, Settings.Username.empty() ? nullptr : Settings.Username.c_str(),
            password.empty() ? nullptr : password.c_str());
        if (result != MOSQ_ERR_SUCCESS) {
            error = "username or password refused: " + MosquittoError(result);
            return false;
        }
    }
    if (!Settings.CaFile.empty()) {
        const int result =
            mosquitto_tls_set(Handle, Settings.CaFile.c_str(), nullptr, nullptr, nullptr, nullptr);
        if (result != MOSQ_ERR_SUCCESS) {
            error = Settings.CaFile + ": " + MosquittoError(result);
            return false;
        }
    }
    static const char offline[] = "offline";
    int result = mosquitto_will_set(Handle, WillTopic.c_str(), sizeof offline - 1, offline,
                                    QosAtLeastOnce, true);
    if (result != MOSQ_ERR_SUCCESS) {
        error = "last will refused: " + MosquittoError(result);
        return false;
    }
    mosquitto_reconnect_delay_set(Handle, FirstReconnectDelay, LongestReconnectDelay, true);
    FirstConnect = std::thread([this] { ConnectUntilReached(); });
    return true;
}

// libmosquitto's network thread reconnects once a connection was made, but gives up when the
// first attempt fails: until the broker is first reached, this thread tries with the same
// back-off.
void BrokerConnection::ConnectUntilReached() {
    std::chrono::seconds delay(FirstReconnectDelay);
    std::unique_lock lock(Mutex);
    while (!Stopping) {
        lock.unlock();
        const int result = mosquitto_connect_async(Handle, Settings.Host.c_str(), Settings.Port,
                                                   Settings.KeepaliveSeconds);
        lock.lock();
        if (result == MOSQ_ERR_SUCCESS && !Stopping) {
            LoopRunning = mosquitto_loop_start(Handle) == MOSQ_ERR_SUCCESS;
            return;
        }
        Changed.wait_for(lock, delay, [this] { return Stopping; });
        delay = std::min(delay * 2, std::chrono::seconds(LongestReconnectDelay));
    }
}

void BrokerConnection::EndBackgroundWork() {
    {
        const std::lock_guard lock(Mutex);
        Stopping = true;
    }
    Changed.notify_all();
    if (FirstConnect.joinable()) {
        FirstConnect.join();
    }
    if (LoopRunning) {
        mosquitto_disconnect(Handle);
        mosquitto_loop_stop(Handle, false);
        LoopRunning = false;
    }
}

bool BrokerConnection::Publish(const std::string& topic, const std::string& payload, bool retain) {
    if (!IsConnected()) {
        return false;
    }
    int messageId = 0;
    const int result =
        mosquitto_publish(Handle, &messageId, topic.c_str(), static_cast<int>(payload.size()),
                          payload.data(), QosAtLeastOnce, retain);
    return result == MOSQ_ERR_SUCCESS;
}

bool BrokerConnection::Subscribe(const std::string& pattern) {
    return mosquitto_subscribe(Handle, nullptr, pattern.c_str(), QosAtLeastOnce) ==
           MOSQ_ERR_SUCCESS;
}

std::vector<BrokerConnection::Event> BrokerConnection::TakeEvents() {
    const std::lock_guard lock(Mutex);
    std::vector<Event> events;
    events.swap(Events);
    return events;
}

bool BrokerConnection::IsConnected() const {
    const std::lock_guard lock(Mutex);
    return Connected;
}

void BrokerConnection::Stop(const std::string& lastWord, std::chrono::milliseconds timeout) {
    {
        // From here the network thread notes every acknowledgement, so that the one of the
        // last word cannot pass unseen before its id is known.
        const std::lock_guard lock(Mutex);
        Stopping = true;
    }
    Changed.notify_all();
    int messageId = 0;
    if (IsConnected() &&
        mosquitto_publish(Handle, &messageId, WillTopic.c_str(), static_cast<int>(lastWord.size()),
                          lastWord.data(), QosAtLeastOnce, true) == MOSQ_ERR_SUCCESS) {
        std::unique_lock lock(Mutex);
        Changed.wait_for(lock, timeout,
                         [&] { return AcknowledgedWhileStopping.count(messageId) != 0; });
    }
    EndBackgroundWork();
}

void BrokerConnection::Queue(Event event) {
    {
        const std::lock_guard lock(Mutex);
        if (event.Kind != EventKind::Message) {
            Connected = event.Kind == EventKind::Connected;
        }
        Events.push_back(std::move(event));
    }
    if (Wake) {
        Wake();
    }
}

void BrokerConnection::OnConnect(mosquitto*, void* self, int result) {
    if (result == 0) {
        static_cast<BrokerConnection*>(self)->Queue({EventKind::Connected, {}, {}});
    }
}

void BrokerConnection::OnDisconnect(mosquitto*, void* self, int) {
    static_cast<BrokerConnection*>(self)->Queue({EventKind::Disconnected, {}, {}});
}

void BrokerConnection::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    const char* bytes = static_cast<const char*>(message->payload);
    static_cast<BrokerConnection*>(self)->Queue(
        {EventKind::Message, message->topic,
         std::string(bytes, bytes + std::max(message->payloadlen, 0))});
}

void BrokerConnection::OnPublish(mosquitto*, void* self, int messageId) {
    auto& connection = *static_cast<BrokerConnection*>(self);
    {
        const std::lock_guard lock(connection.Mutex);
        if (!connection.Stopping) {
            return;
        }
        connection.AcknowledgedWhileStopping.insert(messageId);
    }
    connection.Changed.notify_all();
}

} // namespace vg
