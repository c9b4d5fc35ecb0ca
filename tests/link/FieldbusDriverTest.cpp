#include "link/FieldbusDriver.h"

#include "link/ParChannel.h"
#include "status/PollState.h"
#include "support/DriverLibraries.h"
#include "support/LinkWorld.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace vg {
namespace {

// The link on the fieldbus through one of the tests' fault drivers; the test keeps the
// library loaded as well, to read how often its master was opened and closed.
class FieldbusDriverTest : public ::testing::Test {
protected:
    void Use(const std::string& name) {
        const std::string path = test::DriverLibrary(name);
        Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(Handle, nullptr) << dlerror();
        OpenCount = reinterpret_cast<int (*)()>(dlsym(Handle, "fake_open_count"));
        CloseCount = reinterpret_cast<int (*)()>(dlsym(Handle, "fake_close_count"));
        ASSERT_NE(OpenCount, nullptr);
        ASSERT_NE(CloseCount, nullptr);
        Driver = std::make_unique<FieldbusDriver>(path);
        ASSERT_TRUE(Driver->Loaded()) << Driver->LoadFailure();
        World.Fieldbus.UseMaster(*Driver);
    }
    ~FieldbusDriverTest() override {
        World.Fieldbus.UseMaster(World.BusMaster);
        Driver.reset();
        if (Handle != nullptr) {
            dlclose(Handle);
        }
    }

    test::LinkWorld World{CommMode::Fieldbus};
    std::unique_ptr<FieldbusDriver> Driver;
    void* Handle = nullptr;
    int (*OpenCount)() = nullptr;
    int (*CloseCount)() = nullptr;
};

// A driver that keeps state refuses to open a master that is open: left open after a failed
// add, it would refuse every later attempt and the unit never came online.
TEST_F(FieldbusDriverTest, AFailedAddClosesTheMasterSoTheNextOpenSucceeds) {
    Use("vgdp-fake-add-fails-once");
    ErrorCode error = 0;
    EXPECT_FALSE(World.Link.Open(1, error));
    EXPECT_EQ(error, 0x77u);
    EXPECT_EQ(OpenCount(), 1);
    EXPECT_EQ(CloseCount(), 1) << "the open is paired with its close";
    EXPECT_TRUE(World.Link.Open(1, error)) << std::hex << error;
    EXPECT_TRUE(World.Link.Close(1, error));
    EXPECT_EQ(OpenCount(), 2);
    EXPECT_EQ(CloseCount(), 2);
}

// The driver's own thread ends only with its close; a library unloaded under it crashes.
TEST_F(FieldbusDriverTest, AFailedRemoveStillClosesTheMasterAndSaysWhy) {
    Use("vgdp-fake-remove-fails");
    ErrorCode error = 0;
    ASSERT_TRUE(World.Link.Open(1, error));
    EXPECT_FALSE(World.Link.Close(1, error));
    EXPECT_EQ(error, 0x55u) << "the remove's failure is told";
    EXPECT_EQ(CloseCount(), 1);
    EXPECT_TRUE(World.Link.Open(1, error)) << "the master opens again";
    // Swapping the driver closes the master that is still open.
    World.Fieldbus.UseMaster(World.BusMaster);
    EXPECT_EQ(CloseCount(), 2);
    EXPECT_EQ(OpenCount(), 2);
}

TEST_F(FieldbusDriverTest, AResultWithOnlyHighBitsSetIsAFailure) {
    Use("vgdp-fake-high-bits");
    ErrorCode error = 0;
    EXPECT_FALSE(World.Link.Open(1, error));
    EXPECT_EQ(error, 0x10000u) << "the whole value is kept";
    EXPECT_EQ(CloseCount(), OpenCount());
}

// Inputs the master marks invalid are stale or nobody's: no transfer may take them.
TEST_F(FieldbusDriverTest, InputsMarkedInvalidAreNoReplyToATransaction) {
    for (const char* name : {"vgdp-fake-slave", "vgdp-fake-invalid-inputs"}) {
        SCOPED_TRACE(name);
        const bool valid = std::string(name) == "vgdp-fake-slave";
        Use(name);
        ErrorCode error = 0;
        ASSERT_TRUE(World.Link.Open(1, error));
        PollState poll;
        ParChannel par{World.Link, poll.RequestOutstanding};
        par.Timeout = std::chrono::milliseconds(300);
        uint8_t value = 0xFF;
        EXPECT_EQ(par.ReadByte(26, value, error), valid);
        EXPECT_EQ(error, valid ? 0u : TransferCode::Timeout);
        World.Link.Close(1, error);
        World.Fieldbus.UseMaster(World.BusMaster);
        Driver.reset();
        dlclose(Handle);
        Handle = nullptr;
    }
}

} // namespace
} // namespace vg
