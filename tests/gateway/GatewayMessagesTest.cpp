#include "gateway/GatewayMessages.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace vg {
namespace {

// 2026-12-07 22:59:01.042 UTC
const WallClock::time_point Moment =
    WallClock::from_time_t(1796684341) + std::chrono::milliseconds(42);

class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            Previous = old;
            HadZone = true;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        HadZone ? setenv("TZ", Previous.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

private:
    std::string Previous;
    bool HadZone = false;
};

QJsonObject Parsed(const std::string& json) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

TEST(GatewayMessagesTest, TimesCarryMillisecondsAndTheOffset) {
    {
        const ZoneScope zone("CET-1CEST,M3.5.0,M10.5.0/3");
        EXPECT_EQ(IsoTime(Moment), "2026-12-07T23:59:01.042+01:00");
    }
    {
        const ZoneScope zone("NST+3:30");
        EXPECT_EQ(IsoTime(Moment), "2026-12-07T19:29:01.042-03:30");
    }
}

TEST(GatewayMessagesTest, UnknownValuesAreNullAndKnownOnesTyped) {
    StatusMessage offline;
    offline.Scanner = "-----";
    const QJsonObject absent = Parsed(StatusJson(offline, Moment));
    EXPECT_FALSE(absent["online"].toBool(true));
    EXPECT_TRUE(absent["tool"].isNull());
    EXPECT_TRUE(absent["angle"].isNull());
    EXPECT_TRUE(absent["id"].isNull());
    EXPECT_EQ(absent["message"].toString(), "");
    EXPECT_EQ(absent["code"].toInt(-1), 0);

    StatusMessage online{true,       5,     "Tool not present", 0x41, true, false,
                         "Scanning", 90.25, "12345678"};
    const QJsonObject present = Parsed(StatusJson(online, Moment));
    EXPECT_EQ(present["tool"].toInt(), 5);
    EXPECT_EQ(present["code"].toInt(), 0x41);
    EXPECT_TRUE(present["out1"].toBool());
    EXPECT_DOUBLE_EQ(present["angle"].toDouble(), 90.25);
    EXPECT_EQ(present["id"].toString(), "12345678");
    EXPECT_EQ(present["scanner"].toString(), "Scanning");
    EXPECT_EQ(present.keys().size(), 10);
}

TEST(GatewayMessagesTest, EventAndBackupObjects) {
    const QJsonObject event =
        Parsed(EventJson(EventKind::ConfigChanged, "tool 3: angle \"45.50\"", Moment));
    EXPECT_EQ(event["kind"].toString(), "config-changed");
    EXPECT_EQ(event["text"].toString(), "tool 3: angle \"45.50\"");
    EXPECT_TRUE(event["time"].toString().startsWith("2026-12-0"));
    const QJsonObject backup = Parsed(BackupJson({"ab12", "/state/x.CD", 7}, Moment));
    EXPECT_EQ(backup["sha256"].toString(), "ab12");
    EXPECT_EQ(backup["file"].toString(), "/state/x.CD");
    EXPECT_EQ(backup["tools"].toInt(), 7);
}

} // namespace
} // namespace vg
