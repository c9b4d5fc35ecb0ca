#include "config/files/ConfigFile.h"

#include "FileTestSupport.h"
#include "common/ErrorCode.h"
#include "config/files/NamespaceFile.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace vg {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr const char* IllegalSize = ConfigFileSizeWarning;

using test::GoldenImage;
using test::GoldenNames;

int32_t StoredPulseTime(const std::string& cdBytes) {
    int32_t value = 0;
    std::memcpy(&value, cdBytes.data() + 48, sizeof value);
    return value;
}

std::string WithStoredPulseTime(std::string cdBytes, int32_t stored) {
    std::memcpy(cdBytes.data() + 48, &stored, sizeof stored);
    return cdBytes;
}

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        // What a previous configuration leaves behind: every tool programmed, names defined.
        for (size_t n = 0; n < ToolSlotCount; ++n) {
            state.ConfigImage.Tools[n] = {1, 9.0F, 9.0F, 9};
            state.ToolNameTable[n].Defined = 1;
        }
        state.ConfigImage.OutPulseTime = 777;
    }
    std::string Cd(const std::string& name = "VGL_00001234.CD") const {
        return (dir / name).string();
    }
    bool Load(const std::string& path) {
        return LoadConfigFile(state, path, state.TransferError, messages);
    }
    void PutGolden() {
        WriteBytes(Cd(), GoldenImage());
        WriteBytes(dir / "VGL_00001234.NS", GoldenNames());
    }

    test::TempDir dir;
    test::ScriptedMessages messages;
    ConfigState state;
};

TEST_F(ConfigFileTest, FullFileLoadsImageNamesAndIdentifier) {
    PutGolden();
    state.TransferError = 5;
    ASSERT_TRUE(Load(Cd()));
    EXPECT_EQ(state.TransferError, 0U);
    // Every byte as in the file but the pulse time, which the file keeps plus one.
    const std::string expected = WithStoredPulseTime(GoldenImage(), 250);
    EXPECT_EQ(std::memcmp(&state.ConfigImage, expected.data(), expected.size()), 0);
    EXPECT_EQ(std::memcmp(&state.ToolNameTable, GoldenNames().data(), 10752), 0);
    const ConfigImage& image = state.ConfigImage;
    EXPECT_EQ(image.Scanner, 2);
    EXPECT_EQ(image.Reserved1, 0x11223344);
    EXPECT_EQ(image.OutPulseTime, 250);
    EXPECT_EQ(image.Tools[17].Angle, 1.15F);
    EXPECT_EQ(image.Tools[127].Intensity, 3);
    EXPECT_STREQ(state.ToolNameTable[3].Name.data(), "drill 2,5 mm");

    EXPECT_TRUE(state.NamespaceIdValid);
    EXPECT_EQ(std::string(state.NamespaceInfo.CU_Id.begin(), state.NamespaceInfo.CU_Id.end()),
              "00001234");
    EXPECT_EQ(state.NamespaceInfo.Stamp, (std::array<uint16_t, 6>{2004, 8, 24, 17, 15, 16}));
    ASSERT_EQ(state.ToolLines.size(), 3U);
    EXPECT_EQ(state.ToolLines[0], " 003   160.00   1.00    1    drill 2,5 mm");
    EXPECT_EQ(state.ToolLineIndex[127], 2);
    EXPECT_FALSE(DiffersFromSnapshots(state));
}

TEST_F(ConfigFileTest, ThirtyTwoSlotFileLeavesTheOtherSlotsEmpty) {
    WriteBytes(Cd(), GoldenImage().substr(0, 588));
    ASSERT_TRUE(Load(Cd()));
    EXPECT_EQ(state.ConfigImage.Tools[17].Programmed, 1);
    EXPECT_EQ(state.ConfigImage.Tools[31].Programmed, 0);
    for (size_t n = 32; n < ToolSlotCount; ++n) {
        EXPECT_EQ(state.ConfigImage.Tools[n].Programmed, 0) << n;
    }
    EXPECT_EQ(state.ToolLines.size(), 2U); // tools 3 and 17
}

TEST_F(ConfigFileTest, TwoHundredFiftySixSlotFileLoadsTheFirst128) {
    std::string programmedBeyond(2048, '\0');
    programmedBeyond[0] = 1; // slot 128 would be programmed
    WriteBytes(Cd(), GoldenImage() + programmedBeyond);
    ASSERT_TRUE(Load(Cd()));
    EXPECT_EQ(state.ConfigImage.Tools[127].Programmed, 1);
    EXPECT_EQ(state.ConfigImage.OutPulseTime, 250);
    EXPECT_EQ(state.ToolLines.size(), 3U);
}

TEST_F(ConfigFileTest, IllegalSizeWarnsAndLeavesTheDefaults) {
    for (size_t size : {size_t{0}, size_t{587}, size_t{2123}, size_t{2125}, size_t{4171}}) {
        WriteBytes(Cd(), std::string(size, '\x01'));
        state.ConfigImage.Tools[3].Programmed = 1;
        messages.Expect(IllegalSize);
        EXPECT_FALSE(Load(Cd())) << size;
        EXPECT_EQ(state.TransferError, TransferCode::ParameterFile);
        EXPECT_EQ(state.ConfigImage.Tools[3].Programmed, 0);
        EXPECT_EQ(state.ConfigImage.DefaultTolerance, 300);
        EXPECT_TRUE(state.ToolLines.empty());
        EXPECT_TRUE(state.NamespaceIdValid) << "the name still follows the rule";
        EXPECT_FALSE(DiffersFromSnapshots(state));
    }
    EXPECT_EQ(messages.History()[0].Kind, MessageKind::Warning);
}

TEST_F(ConfigFileTest, MissingFileIsANewEmptyConfiguration) {
    ASSERT_TRUE(Load(Cd()));
    EXPECT_EQ(state.TransferError, 0U);
    EXPECT_EQ(state.ConfigImage.Tools[0].Programmed, 0);
    EXPECT_EQ(state.ConfigImage.Scanner, 1);
    EXPECT_EQ(state.ConfigImage.OutPulseTime, 777) << "pulse time is not part of the defaults";
    EXPECT_TRUE(state.ToolLines.empty());
    EXPECT_TRUE(state.NamespaceIdValid);
    EXPECT_FALSE(DiffersFromSnapshots(state));
}

TEST_F(ConfigFileTest, NamesOfThePreviousConfigurationNeverStay) {
    // A missing file and a refused one both leave a configuration without names; the names
    // SetUp defined belong to another unit and must not reach this file's name file.
    WriteBytes(Cd("VGL_00000002.CD"), std::string(2125, '\0'));
    struct Case {
        std::string Path;
        bool Refused;
    };
    for (const Case& c : {Case{Cd("VGL_00000001.CD"), false}, Case{Cd("VGL_00000002.CD"), true}}) {
        for (ToolNameRecord& record : state.ToolNameTable) {
            record.Defined = 1;
        }
        if (c.Refused) {
            messages.Expect(IllegalSize);
        }
        EXPECT_EQ(Load(c.Path), !c.Refused) << c.Path;
        EXPECT_FALSE(AnyToolNameDefined(state.ToolNameTable)) << c.Path;
        EXPECT_FALSE(DiffersFromSnapshots(state));
        ASSERT_TRUE(WriteConfigFile(state, Cd("VGL_00000003.CD"), state.TransferError));
        ToolNameTable saved{};
        const std::string bytes = ReadBytes(dir / "VGL_00000003.NS");
        ASSERT_EQ(bytes.size(), sizeof saved);
        std::memcpy(&saved, bytes.data(), sizeof saved);
        EXPECT_FALSE(AnyToolNameDefined(saved)) << c.Path;
    }
}

TEST_F(ConfigFileTest, IllegalNameFileOnlyWarns) {
    WriteBytes(Cd(), GoldenImage());
    WriteBytes(dir / "VGL_00001234.NS", std::string(100, 'x'));
    messages.Expect("Namespace-File has illegal size!");
    EXPECT_TRUE(Load(Cd()));
    EXPECT_EQ(state.TransferError, 0U);
    EXPECT_EQ(state.ConfigImage.OutPulseTime, 250);
}

TEST_F(ConfigFileTest, NameBreakingTheRuleStillLoads) {
    WriteBytes(Cd("VGL_1234567.CD"), GoldenImage());
    state.NamespaceIdValid = true;
    ASSERT_TRUE(Load(Cd("VGL_1234567.CD")));
    EXPECT_FALSE(state.NamespaceIdValid);
    EXPECT_EQ(state.ToolLines.size(), 3U);
}

TEST_F(ConfigFileTest, StoredPulseTimeIsOneMore) {
    struct Case {
        int32_t Stored;
        int32_t Loaded;
    };
    for (Case c : {Case{0, 0}, Case{1, 0}, Case{101, 100}, Case{5001, 5000}}) {
        WriteBytes(Cd(), WithStoredPulseTime(GoldenImage(), c.Stored));
        ASSERT_TRUE(Load(Cd()));
        EXPECT_EQ(state.ConfigImage.OutPulseTime, c.Loaded) << c.Stored;
    }
}

TEST_F(ConfigFileTest, PulseTimeAtTheInt32LimitsWrapsInsteadOfOverflowing) {
    WriteBytes(Cd(), WithStoredPulseTime(GoldenImage(), INT32_MIN));
    ASSERT_TRUE(Load(Cd()));
    EXPECT_EQ(state.ConfigImage.OutPulseTime, INT32_MAX);
    ASSERT_TRUE(WriteConfigFile(state, Cd(), state.TransferError));
    EXPECT_EQ(StoredPulseTime(ReadBytes(Cd())), INT32_MIN);
}

TEST_F(ConfigFileTest, LoadThenWriteGivesTheSameBytes) {
    PutGolden();
    ASSERT_TRUE(Load(Cd()));
    const std::string copy = Cd("VGL_00009999.CD");
    ASSERT_TRUE(WriteConfigFile(state, copy, state.TransferError));
    EXPECT_EQ(state.TransferError, 0U);
    EXPECT_EQ(ReadBytes(copy), GoldenImage());
    EXPECT_EQ(ReadBytes(dir / "VGL_00009999.NS"), GoldenNames());
    EXPECT_EQ(state.ConfigImage.OutPulseTime, 250) << "the image is not changed by a save";

    state.ConfigImage.OutPulseTime = 0; // static outputs
    ASSERT_TRUE(WriteConfigFile(state, copy, state.TransferError));
    EXPECT_EQ(StoredPulseTime(ReadBytes(copy)), 1);
}

TEST_F(ConfigFileTest, FailedImageWriteKeepsBothOldFiles) {
    PutGolden();
    for (size_t budget : {size_t{0}, size_t{76}, size_t{2123}}) {
        EXPECT_FALSE(WriteConfigFile(state, Cd(), state.TransferError, test::FailingAfter(budget)));
        EXPECT_EQ(state.TransferError, TransferCode::FileWrite);
        EXPECT_EQ(ReadBytes(Cd()), GoldenImage()) << budget;
        EXPECT_EQ(ReadBytes(dir / "VGL_00001234.NS"), GoldenNames());
    }
}

TEST_F(ConfigFileTest, FailedNamesWriteKeepsTheOldPair) {
    PutGolden();
    EXPECT_FALSE(WriteConfigFile(state, Cd(), state.TransferError, test::FailingAfter(2124 + 84)));
    EXPECT_EQ(state.TransferError, TransferCode::FileWrite);
    EXPECT_EQ(ReadBytes(dir / "VGL_00001234.NS"), GoldenNames());
    EXPECT_EQ(ReadBytes(Cd()), GoldenImage()) << "a new image beside the old names";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2)
        << "no temporary file may stay behind";
}

TEST_F(ConfigFileTest, WriteProtectedFileIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
    PutGolden();
    std::filesystem::permissions(Cd(), std::filesystem::perms::owner_read);
    EXPECT_FALSE(WriteConfigFile(state, Cd(), state.TransferError));
    EXPECT_EQ(state.TransferError, TransferCode::FileWrite);
    EXPECT_EQ(ReadBytes(Cd()), GoldenImage());
}

TEST_F(ConfigFileTest, WriteThroughALinkReplacesTheLinkedFile) {
    PutGolden();
    std::filesystem::create_directory(dir / "archive");
    std::filesystem::rename(Cd(), dir / "archive" / "VGL_00001234.CD");
    std::filesystem::create_symlink(dir / "archive" / "VGL_00001234.CD", Cd());
    state.ConfigImage.OutPulseTime = 41;
    ASSERT_TRUE(WriteConfigFile(state, Cd(), state.TransferError));
    EXPECT_TRUE(std::filesystem::is_symlink(Cd()));
    EXPECT_EQ(StoredPulseTime(ReadBytes(dir / "archive" / "VGL_00001234.CD")), 42);
}

TEST_F(ConfigFileTest, SavedFileKeepsItsPermissions) {
    PutGolden();
    namespace fs = std::filesystem;
    fs::permissions(Cd(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteConfigFile(state, Cd(), state.TransferError));
    EXPECT_EQ(fs::status(Cd()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ConfigFileTest, NamesThatDifferOnlyInCaseAreFoundAndSavedUnderThatName) {
    WriteBytes(Cd("vgl_00001234.cd"), GoldenImage());
    WriteBytes(dir / "vgl_00001234.ns", GoldenNames());
    ASSERT_TRUE(Load(Cd("VGL_00001234.CD")));
    EXPECT_EQ(state.ConfigImage.OutPulseTime, 250);
    EXPECT_STREQ(state.ToolNameTable[3].Name.data(), "drill 2,5 mm");

    state.ConfigImage.OutPulseTime = 41;
    ASSERT_TRUE(WriteConfigFile(state, Cd("VGL_00001234.CD"), state.TransferError));
    EXPECT_EQ(StoredPulseTime(ReadBytes(Cd("vgl_00001234.cd"))), 42);
    EXPECT_EQ(ReadBytes(dir / "vgl_00001234.ns"), GoldenNames());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2)
        << "no second spelling of either file";
}

TEST(FileSizeOfOpenFile, LeavesTheReadPositionAlone) {
    test::TempDir dir;
    WriteBytes(dir / "f", std::string(588, 'a'));
    UniqueFd fd = OpenForReading((dir / "f").string());
    ASSERT_TRUE(fd.IsOpen());
    char first[10];
    ASSERT_EQ(ReadUpTo(fd.Get(), first, sizeof first), sizeof first);
    EXPECT_EQ(FileSize(fd.Get()), 588);
    EXPECT_EQ(ReadUpTo(fd.Get(), first, sizeof first), sizeof first);
    EXPECT_EQ(::lseek(fd.Get(), 0, SEEK_CUR), 20);
}

TEST(NamingRule, AcceptsVglAndEightDigitsInAnyCaseAndDirectory) {
    for (const char* path : {"vgl_00001234.cd", "/some/dir.x/VGL_00001234.CD",
                             "relative/Vgl_00001234.bak", "VGL_00001234"}) {
        NamespaceInfo info{};
        EXPECT_TRUE(CuIdFromFileName(path, info)) << path;
        EXPECT_EQ(std::string(info.CU_Id.begin(), info.CU_Id.end()), "00001234");
        EXPECT_EQ(info.Stamp, (std::array<uint16_t, 6>{2004, 8, 24, 17, 15, 16}));
    }
}

TEST(NamingRule, RefusesOtherNamesAndKeepsTheStamp) {
    for (const char* path :
         {"VGL_1234567.CD", "VGL_12345678_old.CD", "VGL_123456789.CD", "XGL_12345678.CD",
          "VGL_1234a678.CD", "VGL_12345678.CD/", "/VGL_12345678.CD/other.CD", "", "VGL_+1234567.CD",
          "VGL_1234.567.CD"}) {
        NamespaceInfo info{};
        info.Stamp = {1, 2, 3, 4, 5, 6};
        EXPECT_FALSE(CuIdFromFileName(path, info)) << path;
        EXPECT_EQ(info.Stamp[0], 1);
    }
}

} // namespace
} // namespace vg
