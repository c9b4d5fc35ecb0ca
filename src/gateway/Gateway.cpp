#include "gateway/Gateway.h"

#include <algorithm>

namespace vg {

namespace {

constexpr const char* OnlineWord = "online";
constexpr const char* OfflineWord = "offline";
constexpr const char* BackupCommandLeaf = "backup/set";
constexpr auto LastWordTimeout = std::chrono::milliseconds(1000);

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

bool SameUnit(const UnitSettings& a, const UnitSettings& b) {
    return a.DevicePath == b.DevicePath && a.FieldbusDriver == b.FieldbusDriver &&
           a.ComNr == b.ComNr && a.Address == b.Address && a.BackupHours == b.BackupHours;
}

} // namespace

Gateway::Gateway(GatewaySettings settings, std::string stateDir, std::ostream& log)
    : Settings(std::move(settings)), StateDir(std::move(stateDir)), Log(log) {}

Gateway::~Gateway() {
    Stop();
}

std::string Gateway::GatewayTopic() const {
    return Settings.Broker.TopicPrefix + "/gateway/" + Settings.Broker.ClientId;
}

std::string Gateway::Topic(const std::string& unit, const char* leaf) const {
    return Settings.Broker.TopicPrefix + "/" + unit + "/" + leaf;
}

bool Gateway::Start(std::string& error) {
    Broker =
        std::make_unique<BrokerConnection>(Settings.Broker, GatewayTopic(), [this] { Wake(); });
    if (!Broker->Start(error)) {
        return false;
    }
    for (const UnitSettings& unit : Settings.Units) {
        AddUnit(unit);
    }
    return true;
}

void Gateway::AddUnit(const UnitSettings& settings) {
    WatchedUnit& unit = Units[settings.Name];
    UnitReports& reports = *this;
    unit.Watcher = std::make_unique<UnitWatcher>(settings, StateDir, reports, [this] { Wake(); });
    StatusChanged(settings.Name, unit.Watcher->Status());
    if (const std::optional<BackupMessage> latest =
            BackupStore(StateDir + "backups/" + settings.Name + "/").Latest()) {
        unit.BackupJson = BackupJson(*latest, WallClock::now());
    }
    unit.Watcher->Start(Clock::now());
}

void Gateway::Wake() {
    {
        const std::lock_guard lock(WakeMutex);
        Woken = true;
    }
    WakeSignal.notify_all();
}

void Gateway::RunUntil(Clock::time_point until) {
    const Clock::time_point now = Clock::now();
    for (auto& [name, unit] : Units) {
        unit.Watcher->Service(now);
    }
    TakeBrokerEvents();
    PublishWaiting();
    std::unique_lock lock(WakeMutex);
    WakeSignal.wait_until(lock, NextDue(until), [this] { return Woken; });
    Woken = false;
}

Gateway::Clock::time_point Gateway::NextDue(Clock::time_point until) const {
    Clock::time_point next = until;
    for (const auto& [name, unit] : Units) {
        next = std::min(next, unit.Watcher->NextService());
    }
    return next;
}

void Gateway::TakeBrokerEvents() {
    for (const BrokerConnection::Event& event : Broker->TakeEvents()) {
        switch (event.Kind) {
        case BrokerConnection::EventKind::Connected:
            BrokerConnected();
            break;
        case BrokerConnection::EventKind::Disconnected:
            Log << "vg-gateway: the connection to the broker " << Settings.Broker.Host << ':'
                << Settings.Broker.Port << " was lost; connecting again" << std::endl;
            break;
        case BrokerConnection::EventKind::Message:
            TakeCommand(event.Topic);
            break;
        }
    }
}

void Gateway::BrokerConnected() {
    Log << "vg-gateway: connected to the broker " << Settings.Broker.Host << ':'
        << Settings.Broker.Port << std::endl;
    Broker->Publish(GatewayTopic(), OnlineWord, true);
    Broker->Subscribe(Settings.Broker.TopicPrefix + "/+/" + BackupCommandLeaf);
    // Retained messages go out again: the broker may have lost them, or be a new one.
    for (auto& [name, unit] : Units) {
        unit.StatusPublished = false;
        unit.BackupPublished = false;
    }
}

// "<prefix>/<unit>/backup/set" starts a backup of that unit; nothing else is acted on.
void Gateway::TakeCommand(const std::string& topic) {
    const std::string prefix = Settings.Broker.TopicPrefix + "/";
    const std::string suffix = std::string("/") + BackupCommandLeaf;
    if (topic.size() <= prefix.size() + suffix.size() || topic.rfind(prefix, 0) != 0 ||
        topic.compare(topic.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return;
    }
    const std::string name =
        topic.substr(prefix.size(), topic.size() - prefix.size() - suffix.size());
    const auto it = Units.find(name);
    if (it != Units.end()) {
        it->second.Watcher->RequestBackup();
    }
}

void Gateway::PublishWaiting() {
    if (!Broker->IsConnected()) {
        return;
    }
    for (auto& [name, unit] : Units) {
        PublishWaiting(name, unit);
    }
}

void Gateway::PublishWaiting(const std::string& name, WatchedUnit& unit) {
    if (!unit.StatusPublished) {
        unit.StatusPublished = Broker->Publish(Topic(name, "status"), unit.StatusJson, true);
    }
    if (!unit.BackupPublished && !unit.BackupJson.empty()) {
        unit.BackupPublished = Broker->Publish(Topic(name, "config"), unit.BackupJson, true);
    }
    if (const size_t dropped = unit.Events.TakeDroppedCount(); dropped > 0) {
        unit.Events.Push(
            EventJson(EventKind::Dropped,
                      std::to_string(dropped) + " events were dropped while the broker was away",
                      WallClock::now()));
    }
    while (!unit.Events.Empty() &&
           Broker->Publish(Topic(name, "event"), unit.Events.Front(), false)) {
        unit.Events.PopFront();
    }
}

void Gateway::StatusChanged(const std::string& unit, const UnitStatus& status) {
    WatchedUnit& watched = Units[unit];
    watched.StatusJson = StatusJson(StatusMessageOf(status), WallClock::now());
    watched.StatusPublished = false;
}

void Gateway::UnitEvent(const std::string& unit, const std::string& kind, const std::string& text) {
    Units[unit].Events.Push(EventJson(kind, text, WallClock::now()));
}

void Gateway::BackupFinished(const std::string& unit, const BackupOutcome& outcome) {
    if (!outcome.Ok) {
        Log << "vg-gateway: " << unit << ": backup failed: " << outcome.Error << std::endl;
        UnitEvent(unit, EventKind::BackupFailed, outcome.Error);
        return;
    }
    if (outcome.Written && !outcome.First) {
        UnitEvent(unit, EventKind::ConfigChanged, Joined(outcome.Differences));
    }
    WatchedUnit& watched = Units[unit];
    watched.BackupJson = BackupJson(outcome.Latest, WallClock::now());
    watched.BackupPublished = false;
}

void Gateway::Apply(GatewaySettings settings, std::string& error) {
    for (auto it = Units.begin(); it != Units.end();) {
        const auto kept =
            std::find_if(settings.Units.begin(), settings.Units.end(),
                         [&](const UnitSettings& unit) { return unit.Name == it->first; });
        if (kept == settings.Units.end() || !SameUnit(*kept, it->second.Watcher->Settings())) {
            it = Units.erase(it);
        } else {
            ++it;
        }
    }
    const bool brokerChanged = settings.Broker != Settings.Broker;
    Settings = std::move(settings);
    if (brokerChanged) {
        Broker->Stop(OfflineWord, LastWordTimeout);
        Broker =
            std::make_unique<BrokerConnection>(Settings.Broker, GatewayTopic(), [this] { Wake(); });
        if (!Broker->Start(error)) {
            Log << "vg-gateway: " << error << std::endl;
        }
    }
    for (const UnitSettings& unit : Settings.Units) {
        if (Units.count(unit.Name) == 0) {
            AddUnit(unit);
        }
    }
}

void Gateway::Stop() {
    if (Broker) {
        Broker->Stop(OfflineWord, LastWordTimeout);
    }
    Units.clear();
}

} // namespace vg
