#include "gateway/GatewayMessages.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vg {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

} // namespace

std::string IsoTime(WallClock::time_point time) {
    const auto sinceEpoch = time.time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds).count();
    const std::time_t whole = static_cast<std::time_t>(seconds.count());
    std::tm local{};
    localtime_r(&whole, &local);
    char date[32] = {};
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const long offsetMinutes = local.tm_gmtoff / 60;
    char text[64] = {};
    std::snprintf(text, sizeof text, "%s.%03d%c%02ld:%02ld", date, static_cast<int>(millis),
                  offsetMinutes < 0 ? '-' : '+', std::labs(offsetMinutes) / 60,
                  std::labs(offsetMinutes) % 60);
    return text;
}

std::string StatusJson(const StatusMessage& status, WallClock::time_point time) {
    QJsonObject object;
    object["online"] = status.Online;
    object["tool"] = status.Tool ? QJsonValue(*status.Tool) : QJsonValue();
    object["message"] = Text(status.Message);
    object["code"] = status.Code;
    object["out1"] = status.Out1;
    object["out2"] = status.Out2;
    object["scanner"] = Text(status.Scanner);
    object["angle"] = status.Angle ? QJsonValue(*status.Angle) : QJsonValue();
    object["id"] = status.Id ? QJsonValue(Text(*status.Id)) : QJsonValue();
    object["time"] = Text(IsoTime(time));
    return Compact(object);
}

std::string EventJson(const std::string& kind, const std::string& text,
                      WallClock::time_point time) {
    QJsonObject object;
    object["time"] = Text(IsoTime(time));
    object["kind"] = Text(kind);
    object["text"] = Text(text);
    return Compact(object);
}

std::string BackupJson(const BackupMessage& backup, WallClock::time_point time) {
    QJsonObject object;
    object["time"] = Text(IsoTime(time));
    object["sha256"] = Text(backup.Sha256);
    object["file"] = Text(backup.File);
    object["tools"] = backup.Tools;
    return Compact(object);
}

} // namespace vg
