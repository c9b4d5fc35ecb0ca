#include "gui/OwnSettings.h"

#include <QSettings>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace vg {

namespace {
const QString VerifyAfterSaveKey = QStringLiteral("Transfers/VerifyAfterSave");

QString SettingsFile(const std::string& path) {
    return QString::fromStdString(path);
}
} // namespace

std::string OwnSettingsPath(const UserEnvironment& user) {
    return UserSettingsFolder(user) + "vgconfig.conf";
}

bool LoadVerifyAfterSave(const std::string& path) {
    const QSettings settings(SettingsFile(path), QSettings::IniFormat);
    return settings.value(VerifyAfterSaveKey, false).toBool();
}

bool StoreVerifyAfterSave(const std::string& path, bool on, WriteFailure& failure) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!MakeFolders(folder, PrivateFolderMode)) {
        failure.Record(folder);
        return false;
    }
    // QSettings tells no reason when it cannot write: the system tells it here.
    const int probe = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (probe < 0) {
        failure.Record(path);
        return false;
    }
    ::close(probe);
    QSettings settings(SettingsFile(path), QSettings::IniFormat);
    settings.setValue(VerifyAfterSaveKey, on);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        errno = errno != 0 ? errno : EIO;
        failure.Record(path);
        return false;
    }
    return true;
}

} // namespace vg

namespace vg {

namespace {
const QString LanguageKey = QStringLiteral("Windows/Language");
} // namespace

std::string LoadLanguage(const std::string& path) {
    const QSettings settings(SettingsFile(path), QSettings::IniFormat);
    return settings.value(LanguageKey).toString().toStdString();
}

bool StoreLanguage(const std::string& path, const std::string& code, WriteFailure& failure) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!MakeFolders(folder, PrivateFolderMode)) {
        failure.Record(folder);
        return false;
    }
    const int probe = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (probe < 0) {
        failure.Record(path);
        return false;
    }
    ::close(probe);
    QSettings settings(SettingsFile(path), QSettings::IniFormat);
    if (code.empty()) {
        settings.remove(LanguageKey);
    } else {
        settings.setValue(LanguageKey, QString::fromStdString(code));
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        errno = errno != 0 ? errno : EIO;
        failure.Record(path);
        return false;
    }
    return true;
}

} // namespace vg
