#include "gateway/BackupStore.h"

#include "config/files/ConfigFile.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace vg {
namespace {

using test::TempDir;

const WallClock::time_point Monday = WallClock::from_time_t(1796684341);
const WallClock::time_point Tuesday = Monday + std::chrono::hours(24);

ConfigState UnitWithTools() {
    ConfigState state;
    InitConfigState(state);
    for (int tool : {1, 3, 9}) {
        state.ConfigImage.Tools[tool] = {1, 45.5F, 2.0F, 2};
    }
    state.ConfigImage.DefaultAngle = 12000;
    return state;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BackupStoreTest, KeepsAConfigurationOnlyWhenItChanged) {
    TempDir dir;
    BackupStore store(dir.ProgramDir() + "press-7/");
    ConfigState unit = UnitWithTools();

    const BackupOutcome first = store.Keep(unit, Monday);
    ASSERT_TRUE(first.Ok) << first.Error;
    EXPECT_TRUE(first.Written && first.First);
    EXPECT_EQ(first.Latest.File, store.Folder() + "20261207T225901Z.CD");
    EXPECT_EQ(first.Latest.Tools, 3);

    const BackupOutcome same = store.Keep(unit, Tuesday);
    EXPECT_TRUE(same.Ok && !same.Written);
    EXPECT_EQ(same.Latest.File, first.Latest.File);
    EXPECT_EQ(same.Latest.Sha256, first.Latest.Sha256);

    unit.ConfigImage.Tools[3].Angle = 46.5F;
    const BackupOutcome changed = store.Keep(unit, Tuesday);
    ASSERT_TRUE(changed.Ok && changed.Written && !changed.First);
    EXPECT_NE(changed.Latest.Sha256, first.Latest.Sha256);
    EXPECT_EQ(changed.Differences,
              (std::vector<std::string>{"tool 3: angle 45.50 in file, 46.50 in unit"}));
    EXPECT_EQ(FilesIn(dir / "press-7"),
              (std::vector<std::string>{"20261207T225901Z.CD", "20261207T225901Z.NS",
                                        "20261208T225901Z.CD", "20261208T225901Z.NS"}));
}

TEST(BackupStoreTest, TwoBackupsInOneSecondKeepBothAndTheirDifferences) {
    TempDir dir;
    BackupStore store(dir.ProgramDir());
    ConfigState unit = UnitWithTools();
    ASSERT_TRUE(store.Keep(unit, Monday).Ok);
    unit.ConfigImage.Tools[9].Programmed = 0;
    const BackupOutcome changed = store.Keep(unit, Monday + std::chrono::milliseconds(300));
    ASSERT_TRUE(changed.Ok && changed.Written);
    EXPECT_EQ(changed.Latest.File, store.Folder() + "20261207T225902Z.CD");
    EXPECT_EQ(changed.Differences,
              (std::vector<std::string>{"tool 9: programmed in file, empty in unit"}));
    EXPECT_EQ(FilesIn(dir.Path()).size(), 4U);
}

TEST(BackupStoreTest, TheHashCoversTheFilesAsWritten) {
    TempDir dir;
    BackupStore store(dir.ProgramDir());
    const BackupOutcome outcome = store.Keep(UnitWithTools(), Monday);
    ASSERT_TRUE(outcome.Ok);
    std::ifstream cd(outcome.Latest.File, std::ios::binary);
    std::ifstream ns(dir / "20261207T225901Z.NS", std::ios::binary);
    const std::string bytes = std::string(std::istreambuf_iterator<char>(cd), {}) +
                              std::string(std::istreambuf_iterator<char>(ns), {});
    EXPECT_EQ(bytes.size(), ConfigFileSize + sizeof(ToolNameTable));
    EXPECT_EQ(outcome.Latest.Sha256, Sha256Hex(bytes));
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // The newest backup is found again by a store made later, as after a restart.
    EXPECT_EQ(BackupStore(dir.ProgramDir()).Latest()->Sha256, outcome.Latest.Sha256);
}

TEST(BackupStoreTest, AFolderThatCannotBeMadeIsNamed) {
    TempDir dir;
    std::ofstream(dir / "file") << "x";
    BackupStore store(dir.ProgramDir() + "file/press-7/");
    const BackupOutcome outcome = store.Keep(UnitWithTools(), Monday);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_EQ(outcome.Error, store.Folder() + ": Not a directory");
}

} // namespace
} // namespace vg
