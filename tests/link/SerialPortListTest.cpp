#include "link/SerialPortList.h"

#include "link/PortHolders.h"
#include "support/LockingProcess.h"
#include "support/OtherUser.h"
#include "support/PtyPair.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vg {
namespace {

namespace fs = std::filesystem;

// A /dev of links to pseudo-terminals, with by-id, by-path and the serial core's port types
// beside it, and the program's folder of COMn links.
struct FakeMachine {
    explicit FakeMachine(const fs::path& base = fs::temp_directory_path()) : Dir(base) {
        for (const char* folder : {"dev", "by-id", "by-path", "sys/ttyS0", "sys/ttyS1", "cfg"}) {
            fs::create_directories(Dir / folder);
        }
        Places = {Dir.ProgramDir() + "dev/", Dir.ProgramDir() + "by-id/",
                  Dir.ProgramDir() + "by-path/", Dir.ProgramDir() + "sys/"};
        LinkDir = Dir.ProgramDir() + "cfg/";
        ById = Places.ById + "usb-Maker_Adapter_A1B2-if00-port0";
        ByPath = Places.ByPath + "pci-0000:00:14.0-usb-0:2:1.0-port0";
        fs::create_symlink(Adapter.SlavePath(), ById);
        fs::create_symlink(Adapter.SlavePath(), ByPath);
        fs::create_symlink(Adapter.SlavePath(), Places.Dev + "ttyUSB0");
        fs::create_symlink(Modem.SlavePath(), Places.Dev + "ttyACM0");
        fs::create_symlink(Uart.SlavePath(), Places.Dev + "ttyS0");
        fs::create_symlink(NoUart.SlavePath(), Places.Dev + "ttyS1");
        fs::create_symlink(Other.SlavePath(), Places.Dev + "tty5");
        std::ofstream(Places.SysClassTty + "ttyS0/type") << "4\n";
        std::ofstream(Places.SysClassTty + "ttyS1/type") << "0\n";
        // COM1 falls back to ttyS0; COM2 leads to the adapter's stable name.
        fs::create_symlink(ById, LinkDir + "COM2");
    }

    const SerialDeviceInfo* Find(const std::vector<SerialDeviceInfo>& list,
                                 const test::PtyPair& pty) const {
        const auto it = std::find_if(list.begin(), list.end(), [&pty](const SerialDeviceInfo& d) {
            return d.Device == pty.SlavePath();
        });
        return it != list.end() ? &*it : nullptr;
    }

    test::TempDir Dir;
    SerialPortPlaces Places;
    std::string LinkDir, ById, ByPath;
    test::PtyPair Adapter, Modem, Uart, NoUart, Other;
};

TEST(SerialPortList, FindsAdaptersByTheirStableNamesWithTheirComPortsAndHolders) {
    FakeMachine machine;
    test::LockingProcess holder(machine.Modem.SlavePath());
    const auto list = ListSerialPorts(machine.LinkDir, machine.Places);

    // A ttyS without a UART and a terminal of another kind are no serial ports.
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(machine.Find(list, machine.NoUart), nullptr);
    EXPECT_EQ(machine.Find(list, machine.Other), nullptr);

    const SerialDeviceInfo* adapter = machine.Find(list, machine.Adapter);
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->StableNames, (std::vector<std::string>{machine.ById, machine.ByPath}));
    EXPECT_EQ(adapter->LinkTarget(), machine.ById);
    EXPECT_EQ(adapter->ComPorts, std::vector<int16_t>{2});
    EXPECT_TRUE(adapter->MayOpen);
    EXPECT_FALSE(adapter->InUse());

    const SerialDeviceInfo* modem = machine.Find(list, machine.Modem);
    ASSERT_NE(modem, nullptr);
    EXPECT_EQ(modem->LinkTarget(), machine.Modem.SlavePath()) << "no stable name: the device";
    ASSERT_EQ(modem->Holders.size(), 1u);
    EXPECT_EQ(modem->Holders[0].Pid, holder.Pid());
    EXPECT_TRUE(modem->Holders[0].Locks);

    const SerialDeviceInfo* uart = machine.Find(list, machine.Uart);
    ASSERT_NE(uart, nullptr);
    EXPECT_EQ(uart->ComPorts, std::vector<int16_t>{1});
}

// Anyone may name a program as they like: the name reaches the terminal escaped.
TEST(SerialPortList, AHoldersNameIsEscapedForTheTerminal) {
    test::PtyPair device;
    test::LockingProcess holder(device.SlavePath(), "evil\x1b[2J\a");
    EXPECT_EQ(PortHoldersText(FindPortHolders(device.SlavePath())),
              "evil\\x1b[2J\\x07 (process " + std::to_string(holder.Pid()) + ")");
}

TEST(SerialPortList, MayOpenIsWhatThisUserMay) {
    if (!test::CanActAsOtherUser()) {
        GTEST_SKIP() << "needs another user";
    }
    FakeMachine machine("/tmp");
    fs::permissions(machine.Dir.Path(), fs::perms::owner_all | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
    ASSERT_EQ(chmod(machine.Adapter.SlavePath().c_str(), 0666), 0);
    ASSERT_EQ(chmod(machine.Modem.SlavePath().c_str(), 0600), 0);
    EXPECT_EQ(test::RunAsNobody([&machine] {
                  const auto list = ListSerialPorts(machine.LinkDir, machine.Places);
                  const SerialDeviceInfo* adapter = machine.Find(list, machine.Adapter);
                  const SerialDeviceInfo* modem = machine.Find(list, machine.Modem);
                  return adapter == nullptr || modem == nullptr ? 1
                         : !adapter->MayOpen                    ? 2
                         : modem->MayOpen                       ? 3
                                                                : 0;
              }),
              0);
}

} // namespace
} // namespace vg
