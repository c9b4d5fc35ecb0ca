#include "common/ProgramFolders.h"

#include "common/ProgramInfo.h"
#include "config/files/FilePaths.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vg {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolders, AWritableFolderOfItsOwnKeepsEverythingBesideTheProgram) {
    test::TempDir dir;
    const ProgramFolders folders = FoldersFor(dir.ProgramDir(), {"/home/someone", "", ""});
    EXPECT_TRUE(folders.Portable);
    EXPECT_EQ(folders.Settings, dir.ProgramDir());
    EXPECT_EQ(folders.Data, dir.ProgramDir());
}

// Root may write /usr/bin: the shared folder of the installation is what tells it apart.
TEST(ProgramFolders, AnInstalledProgramKeepsTheUsersFilesInTheUsersFolders) {
    test::TempDir prefix;
    const std::string bin = (prefix / "bin").string() + "/";
    fs::create_directories(bin + SharedFolderFromPrograms);
    const std::string home = (prefix / "home").string();

    const ProgramFolders defaults = FoldersFor(bin, {home, "", ""});
    EXPECT_FALSE(defaults.Portable);
    EXPECT_EQ(defaults.Settings, home + "/.config/vg-config/");
    EXPECT_EQ(defaults.Data, home + "/.local/share/vg-config/");
    EXPECT_EQ(defaults.Program, bin);

    const ProgramFolders set = FoldersFor(bin, {home, "/x/config", "/x/data/"});
    EXPECT_EQ(set.Settings, "/x/config/vg-config/");
    EXPECT_EQ(set.Data, "/x/data/vg-config/");
    // The XDG rules ignore relative paths.
    EXPECT_EQ(FoldersFor(bin, {home, "config", "data"}).Data, defaults.Data);

    // CD_DATA is made when it is first needed; the user's folder that holds it is private.
    ASSERT_TRUE(MakeUnitDataFolder(defaults.Data));
    EXPECT_TRUE(fs::is_directory(defaults.Data + "CD_DATA"));
    struct stat info {};
    ASSERT_EQ(stat(defaults.Data.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

} // namespace
} // namespace vg
