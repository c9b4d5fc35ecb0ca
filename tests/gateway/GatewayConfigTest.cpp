#include "gateway/GatewayConfig.h"

#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vg {
namespace {

using test::TempDir;

class GatewayConfigTest : public ::testing::Test {
protected:
    GatewayConfigResult Read(const std::string& text) {
        std::ofstream(Dir / "gateway.conf") << text;
        ConfigContext context;
        context.ComLinkDir = Dir.ProgramDir();
        context.DevDir = Dir.ProgramDir() + "dev/";
        context.HostName = "hall-pc";
        return ReadGatewayConfig((Dir / "gateway.conf").string(), context);
    }

    // The faults as "LINE: text", in line order.
    std::vector<std::string> Faults(const std::string& text) {
        std::vector<std::string> lines;
        for (const ConfigFault& fault : Read(text).Faults) {
            lines.push_back(std::to_string(fault.Line) + ": " + fault.Text);
        }
        return lines;
    }

    TempDir Dir;
};

TEST_F(GatewayConfigTest, TakesTheExampleWithItsDefaults) {
    const GatewayConfigResult result = Read("[broker]\n"
                                            "host = 127.0.0.1          ; required\n"
                                            "\n"
                                            "[unit press-7]\n"
                                            "port = /dev/ttyUSB0 ; a serial unit\n"
                                            "backup-hours = 0\n"
                                            "[unit mill_2]\n"
                                            "fieldbus-driver = /opt/card/libcard.so\n"
                                            "address = 12\n");
    ASSERT_TRUE(result.Ok()) << result.Faults.front().Text;
    const GatewaySettings& settings = result.Settings;
    EXPECT_EQ(settings.Broker.Host, "127.0.0.1");
    EXPECT_EQ(settings.Broker.Port, 1883);
    EXPECT_EQ(settings.Broker.ClientId, "hall-pc");
    EXPECT_EQ(settings.Broker.TopicPrefix, "vigilo");
    ASSERT_EQ(settings.Units.size(), 2U);
    EXPECT_EQ(settings.Units[0].Name, "press-7");
    EXPECT_EQ(settings.Units[0].DevicePath, "/dev/ttyUSB0");
    EXPECT_EQ(settings.Units[0].BackupHours, 0);
    EXPECT_TRUE(settings.Units[1].FieldbusDriver == "/opt/card/libcard.so" &&
                !settings.Units[1].IsSerial());
    EXPECT_EQ(settings.Units[1].ComNr, 1);
    EXPECT_EQ(settings.Units[1].Address, 12);
    EXPECT_EQ(settings.Units[1].BackupHours, 24);
}

TEST_F(GatewayConfigTest, ACaFileMakesTheDefaultPortTheTlsOne) {
    std::ofstream(Dir / "ca.pem") << "x";
    const GatewayConfigResult result =
        Read("[broker]\nhost = broker\nca-file = " + (Dir / "ca.pem").string() +
             "\n[unit a]\nport = /dev/ttyS0\n");
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.Settings.Broker.Port, 8883);
}

TEST_F(GatewayConfigTest, ComPortsLeadWhereVgctlLeadsThem) {
    std::filesystem::create_symlink("/dev/serial/by-id/usb-adapter", Dir / "COM2");
    const GatewayConfigResult result =
        Read("[broker]\nhost = h\n[unit a]\nport = COM2\n[unit b]\nport = COM4\n");
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.Settings.Units[0].DevicePath, Dir.ProgramDir() + "COM2");
    EXPECT_EQ(result.Settings.Units[1].DevicePath, Dir.ProgramDir() + "dev/ttyS3");
}

TEST_F(GatewayConfigTest, NamesEveryFaultWithItsLine) {
    EXPECT_EQ(Faults("stray = 1\n"               // 1
                     "[broker]\n"                // 2
                     "host = h\n"                // 3
                     "hots = h\n"                // 4
                     "port = 70000\n"            // 5
                     "[bridge]\n"                // 6
                     "[unit a b]\n"              // 7
                     "port = /dev/ttyS0\n"       // 8
                     "[unit both]\n"             // 9
                     "port = /dev/ttyS1\n"       // 10
                     "fieldbus-driver = /x.so\n" // 11
                     "[unit neither]\n"          // 12
                     "backup-hours = -1\n"       // 13
                     "[unit serial]\n"           // 14
                     "port = /dev/ttyS2\n"       // 15
                     "com = 2\n"                 // 16
                     "port = /dev/ttyS3\n"),     // 17
              (std::vector<std::string>{
                  "1: stray stands before any section",
                  "4: unknown key hots in [broker]",
                  "5: port must be a whole number from 1 to 65535, not 70000",
                  "6: unknown section [bridge]: [broker] or [unit NAME]",
                  "7: unit name \"a b\" may hold only letters, digits, - and _",
                  "9: [unit both] has both port and fieldbus-driver: give one",
                  "12: [unit neither] needs port or fieldbus-driver",
                  "13: backup-hours must be a whole number from 0 to 8760, not -1",
                  "16: unknown key com in [unit serial]",
                  "17: port is given twice",
              }));
}

TEST_F(GatewayConfigTest, RefusesTwoUnitsOnOneThing) {
    std::filesystem::create_directory(Dir / "dev");
    std::ofstream(Dir / "dev/ttyUSB0") << "";
    std::filesystem::create_symlink(Dir / "dev/ttyUSB0", Dir / "COM1");
    std::ofstream(Dir / "libcard.so") << "";
    std::filesystem::create_symlink(Dir / "libcard.so", Dir / "libcard.so.1");
    EXPECT_EQ(Faults("[broker]\nhost = h\n"
                     "[unit a]\nport = " +
                     (Dir / "dev/ttyUSB0").string() +
                     "\n"                      // 3
                     "[unit b]\nport = COM1\n" // 5
                     "[unit c]\nfieldbus-driver = " +
                     (Dir / "libcard.so").string() +
                     "\n"
                     "[unit d]\nfieldbus-driver = " +
                     (Dir / "libcard.so.1").string() +
                     "\n"
                     "[unit a]\nport = /dev/ttyS5\n"), // 11
              (std::vector<std::string>{
                  "5: [unit b] uses the port " + Dir.ProgramDir() + "COM1 of [unit a]",
                  "9: [unit d] uses the fieldbus driver " + (Dir / "libcard.so.1").string() +
                      " of [unit c]",
                  "11: [unit a] is given twice",
              }));
}

TEST_F(GatewayConfigTest, RefusesAPasswordFileOthersMayRead) {
    const std::string secret = (Dir / "password").string();
    std::ofstream(secret) << "s3cret\n";
    chmod(secret.c_str(), 0640);
    const std::string text =
        "[broker]\nhost = h\nusername = gw\npassword-file = " + secret + "\n[unit a]\nport = /x\n";
    EXPECT_EQ(
        Faults(text),
        (std::vector<std::string>{
            "4: " + secret + ": group or others may read it; allow only its owner (chmod 600)"}));
    chmod(secret.c_str(), 0600);
    EXPECT_TRUE(Read(text).Ok());
}

TEST_F(GatewayConfigTest, AFileWithoutBrokerOrUnitsIsRefused) {
    EXPECT_EQ(Faults("; nothing\n"),
              (std::vector<std::string>{"1: no [broker] section",
                                        "1: no [unit NAME] section: nothing to watch"}));
    EXPECT_EQ(Faults("[broker]\nport = 1\n[unit a]\nport = /x\n"),
              (std::vector<std::string>{"1: [broker] needs a host"}));
}

TEST_F(GatewayConfigTest, AMalformedOrOverlongLineIsAFault) {
    const std::vector<std::string> faults = Faults(
        "[broker]\nhost = h\njust words\n[unit a]\nport = /dev/" + std::string(300, 'x') + "\n");
    EXPECT_EQ(faults, (std::vector<std::string>{"3: neither [section] nor key = value",
                                                "4: [unit a] needs port or fieldbus-driver",
                                                "5: line longer than 198 characters"}));
}

TEST(GatewayConfigFileTest, AFileThatCannotBeReadSaysWhy) {
    const GatewayConfigResult result = ReadGatewayConfig("/nonexistent/gateway.conf", {});
    ASSERT_EQ(result.Faults.size(), 1U);
    EXPECT_EQ(FaultLine("/nonexistent/gateway.conf", result.Faults[0]),
              "/nonexistent/gateway.conf: No such file or directory");
    EXPECT_EQ(FaultLine("g.conf", {7, "bad"}), "g.conf:7: bad");
}

} // namespace
} // namespace vg
