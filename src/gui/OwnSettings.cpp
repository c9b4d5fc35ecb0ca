#include "gui/OwnSettings.h"

#include <QSettings>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace vg {

namespace {
const QString VerifyAfterSaveKey = QStringLiteral("Transfers/VerifyAfterSave");
const QString LanguageKey = QStringLiteral("Windows/Language");

QString SettingsFile(const std::string& path) {
    return QString::fromStdString(path);
}

// Keeps `value` under `key` (an invalid value removes the key), making the file's folder
// when needed; false with the path and the system's reason in `failure` when it cannot.
bool StoreSetting(const std::string& path, const QString& key, const QVariant& value,
                  WriteFailure& failure) {
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
    if (value.isValid()) {
        settings.setValue(key, value);
    } else {
        settings.remove(key);
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        errno = errno != 0 ? errno : EIO;
        failure.Record(path);
        return false;
    }
    return true;
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
    return StoreSetting(path, VerifyAfterSaveKey, on, failure);
}

std::string LoadLanguage(const std::string& path) {
    const QSettings settings(SettingsFile(path), QSettings::IniFormat);
    return settings.value(LanguageKey).toString().toStdString();
}

bool StoreLanguage(const std::string& path, const std::string& code, WriteFailure& failure) {
    // No language kept means the system's.
    const QVariant value = code.empty() ? QVariant() : QVariant(QString::fromStdString(code));
    return StoreSetting(path, LanguageKey, value, failure);
}

} // namespace vg
