#include "gateway/UnitWatcher.h"

#include "config/transfer/Transfer.h"
#include "config/transfer/UnitReadBack.h"
#include "status/StatusPoll.h"

namespace vg {

namespace {

ProgramFolders UnitFolders(const std::string& stateDir, const std::string& name) {
    return PortableFolders(stateDir + "units/" + name + "/");
}

std::string ReadFailureText(ErrorCode error) {
    return "the configuration could not be read from the unit: " + TransferErrorText(error);
}

} // namespace

StatusMessage StatusMessageOf(const UnitStatus& status) {
    StatusMessage message;
    message.Online = status.Online;
    if (status.ToolNr >= 0) {
        message.Tool = status.ToolNr;
    }
    message.Message = status.Message();
    message.Code = status.ErrorBits;
    message.Out1 = status.Out1();
    message.Out2 = status.Out2();
    message.Scanner = status.ScannerText();
    if (status.AngleHundredths) {
        message.Angle = *status.AngleHundredths / 100.0;
    }
    message.Id = status.Identifier;
    return message;
}

UnitWatcher::UnitWatcher(UnitSettings settings, const std::string& stateDir, UnitReports& reports,
                         std::function<void()> wake)
    : Unit(std::move(settings)), Reports(reports), Wake(std::move(wake)),
      Core(UnitFolders(stateDir, Unit.Name)), Store(stateDir + "backups/" + Unit.Name + "/"),
      Interval(PollInterval::Designed) {
    if (Unit.IsSerial()) {
        Core.Settings.Mode = CommMode::Serial;
        Core.Serial.DeviceOverride = Unit.DevicePath;
    } else {
        Core.Settings.Mode = CommMode::Fieldbus;
        Core.Settings.DriverPath = Unit.FieldbusDriver;
        Core.Settings.ComPortNr = static_cast<uint16_t>(Unit.ComNr);
        Core.Settings.DevAddr = static_cast<uint16_t>(Unit.Address);
    }
    BackupDue = Unit.BackupHours > 0;
    Core.Par.Interrupt = &Stopping;
    Core.Status.AddListener(this);
    Core.Status.AddObserver(this);
}

UnitWatcher::~UnitWatcher() {
    // A backup that reads the unit ends at its next wait.
    Stopping = true;
    if (Backup.joinable()) {
        Backup.join();
    }
    Core.Status.RemoveObserver(this);
    Core.Status.RemoveListener(this);
    ErrorCode ignored = 0;
    Core.Disconnect(ignored);
}

void UnitWatcher::Start(Clock::time_point now) {
    ErrorCode error = 0;
    Interval = std::chrono::milliseconds(Core.Connect(error) ? PollInterval::Online
                                                             : PollInterval::Designed);
    NextTick = now;
}

void UnitWatcher::PollIntervalChanged(int milliseconds) {
    Interval = std::chrono::milliseconds(milliseconds);
}

UnitWatcher::Clock::time_point UnitWatcher::NextService() const {
    return Backup.joinable() ? Clock::time_point::max() : NextTick;
}

void UnitWatcher::Service(Clock::time_point now) {
    if (Backup.joinable()) {
        FinishBackup(now);
        return;
    }
    if (now >= NextBackup) {
        BackupDue = true;
        NextBackup = Clock::time_point::max();
    }
    if (now < NextTick) {
        return;
    }
    Core.Status.Tick();
    NextTick = now + Interval;
    if (BackupDue && Status().Online) {
        StartBackup();
    }
}

void UnitWatcher::UnitStatusChanged(const UnitStatus& status) {
    const UnitStatus before = Reported;
    Reported = status;
    // What only the windows and vgctl show (the fieldbus open counting as online, the kind
    // of unit) is no news here.
    UnitStatus news = status;
    news.LinkOnline = before.LinkOnline;
    news.SimulatedUnit = before.SimulatedUnit;
    if (news == before) {
        return;
    }
    Reports.StatusChanged(Unit.Name, status);
    if (status.Online != before.Online) {
        Reports.UnitEvent(Unit.Name, status.Online ? EventKind::Online : EventKind::Offline,
                          status.Online ? "the unit answers" : "the unit does not answer");
    }
    const std::string message = status.Message();
    if (!message.empty() && message != before.Message()) {
        Reports.UnitEvent(Unit.Name, EventKind::Message, message);
    }
}

void UnitWatcher::StartBackup() {
    BackupDue = false;
    Core.Config.TransferBusy = true;
    Backup = std::thread([this] {
        ConfigState unit;
        InitConfigState(unit);
        NoProgress progress;
        ErrorCode error = 0;
        BackupOutcome outcome;
        if (ReadBackFromUnit(unit, Core.Par, progress, true, error)) {
            outcome = Store.Keep(unit, WallClock::now());
        } else {
            outcome.Error = ReadFailureText(error);
        }
        {
            const std::lock_guard lock(BackupMutex);
            BackupResult = std::move(outcome);
            if (unit.NamespaceIdValid) {
                BackupIdentifier = unit.NamespaceInfo;
            }
        }
        Wake();
    });
}

void UnitWatcher::FinishBackup(Clock::time_point now) {
    std::optional<BackupOutcome> outcome;
    {
        const std::lock_guard lock(BackupMutex);
        outcome.swap(BackupResult);
    }
    if (!outcome) {
        return; // still reading
    }
    Backup.join();
    Core.Config.TransferBusy = false;
    if (BackupIdentifier) {
        // The status carries the identifier of the configuration the gateway holds.
        Core.Config.NamespaceInfo = *BackupIdentifier;
        Core.Config.NamespaceIdValid = true;
        BackupIdentifier.reset();
    }
    if (Unit.BackupHours > 0) {
        NextBackup = now + std::chrono::hours(Unit.BackupHours);
    }
    NextTick = now;
    Reports.BackupFinished(Unit.Name, *outcome);
}

} // namespace vg
