#include "common/FileIo.h"

#include "config/FileTestSupport.h"
#include "support/OtherUser.h"
#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vg {
namespace {

namespace fs = std::filesystem;
using test::NobodyId;
using test::ReadBytes;
using test::WriteBytes;

// Work under /tmp, a folder every user can reach, so the folder can be handed to nobody.
class FileIoTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (Dir / name).string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Dir.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static struct stat StatOf(const std::string& path) {
        struct stat info {};
        ::lstat(path.c_str(), &info);
        return info;
    }

    test::TempDir Dir{"/tmp"};
};

TEST_F(FileIoTest, ASaveKeepsTheOwnerGroupAndModeOfTheFile) {
    if (!test::CanActAsOtherUser()) {
        GTEST_SKIP() << "needs root to give a file to another user";
    }
    WriteBytes(Path("a"), "old");
    ASSERT_EQ(::chown(Path("a").c_str(), NobodyId, NobodyId), 0);
    ASSERT_EQ(::chmod(Path("a").c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileContents(Path("a"), "new"));
    EXPECT_EQ(ReadBytes(Path("a")), "new");
    const struct stat info = StatOf(Path("a"));
    EXPECT_EQ(info.st_uid, NobodyId);
    EXPECT_EQ(info.st_gid, NobodyId);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
}

TEST_F(FileIoTest, AnotherUsersWritableFileIsWrittenInPlaceWhereItCannotBeReplaced) {
    if (!test::CanActAsOtherUser()) {
        GTEST_SKIP() << "needs root to run as another user";
    }
    // A folder nobody may only read, and one it may write where the file has a second name.
    fs::create_directory(Dir / "readonly");
    fs::create_directory(Dir / "linked");
    fs::permissions(Dir.Path(), fs::perms::all);
    fs::permissions(Dir / "readonly", fs::perms::all & ~fs::perms::others_write);
    fs::permissions(Dir / "linked", fs::perms::all);
    const std::string inReadOnly = Path("readonly/VGL_00001234.CD");
    const std::string linked = Path("linked/VGL_00001234.CD");
    for (const std::string& path : {inReadOnly, linked}) {
        WriteBytes(path, "old contents");
        fs::permissions(path, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                  ~fs::perms::others_exec);
    }
    fs::create_hard_link(linked, Dir / "linked" / "archive.CD");

    EXPECT_EQ(test::RunAsNobody([&] {
                  const int readOnlyFailed = ReplaceFileContents(inReadOnly, "new") ? 0 : 1;
                  const int linkedFailed = ReplaceFileContents(linked, "new") ? 0 : 2;
                  return readOnlyFailed | linkedFailed;
              }),
              0);
    EXPECT_EQ(ReadBytes(inReadOnly), "new");
    EXPECT_EQ(ReadBytes(linked), "new");
    EXPECT_EQ(ReadBytes(Dir / "linked" / "archive.CD"), "new") << "the second name was cut off";
    EXPECT_EQ(StatOf(linked).st_nlink, 2U);
    for (const std::string& path : {inReadOnly, linked}) {
        EXPECT_EQ(StatOf(path).st_uid, 0U) << path;
        EXPECT_EQ(StatOf(path).st_mode & 0777, 0666U) << path;
    }
    EXPECT_EQ(fs::directory_iterator(Dir / "readonly")->path().filename(), "VGL_00001234.CD");
}

TEST_F(FileIoTest, ASaveKilledHalfWayLeavesNoTemporaryBehind) {
    WriteBytes(Path("a"), "old");
    const pid_t child = ::fork();
    if (child == 0) {
        ReplaceFileContents(Path("a"), std::string(1000, 'n'),
                            [](int fd, const void* data, size_t) -> ssize_t {
                                [[maybe_unused]] ssize_t one = ::write(fd, data, 1);
                                ::raise(SIGKILL);
                                return -1;
                            });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(Entries(), std::vector<std::string>{"a"});
    EXPECT_EQ(ReadBytes(Path("a")), "old");

    // What an earlier version, or a save killed at the very end, leaves: a temporary named
    // after a process that is gone. The next save of the file clears it away.
    WriteBytes(Path("a.tmp" + std::to_string(child)), "left over");
    ASSERT_TRUE(ReplaceFileContents(Path("a"), "new"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"a"});
    EXPECT_EQ(ReadBytes(Path("a")), "new");
}

TEST_F(FileIoTest, ALinkAnotherUserPlantedInAFolderOthersMayWriteIsNotFollowed) {
    if (!test::CanActAsOtherUser()) {
        GTEST_SKIP() << "needs root to make a link of another user";
    }
    fs::create_directory(Dir / "CD_DATA");
    fs::create_directory(Dir / "private");
    const std::string victim = Path("private/passwd");
    const std::string link = Path("CD_DATA/VGL_00001234.CD");
    for (const fs::perms mode : {fs::perms::all | fs::perms::sticky_bit, fs::perms::all}) {
        SCOPED_TRACE(static_cast<int>(mode));
        fs::permissions(Dir / "CD_DATA", mode);
        WriteBytes(victim, "precious");
        fs::create_symlink(victim, link);
        ASSERT_EQ(::lchown(link.c_str(), NobodyId, NobodyId), 0);
        errno = 0;
        EXPECT_FALSE(ReplaceFileContents(link, "planted"));
        EXPECT_EQ(errno, EACCES) << "the reason travels in errno";
        EXPECT_EQ(ReadBytes(victim), "precious");
        EXPECT_TRUE(fs::is_symlink(link));

        // The folder's owner made this one: it is followed.
        ASSERT_EQ(::lchown(link.c_str(), 0, 0), 0);
        EXPECT_TRUE(ReplaceFileContents(link, "changed"));
        EXPECT_EQ(ReadBytes(victim), "changed");
        fs::remove(link);
    }
}

TEST_F(FileIoTest, AFolderLinkAnotherUserPlantedIsNotFollowedEither) {
    if (!test::CanActAsOtherUser()) {
        GTEST_SKIP() << "needs root to make a link of another user";
    }
    fs::create_directory(Dir / "shared");
    fs::permissions(Dir / "shared", fs::perms::all | fs::perms::sticky_bit);
    fs::create_directory(Dir / "private");
    WriteBytes(Path("private/VGL_00001234.CD"), "precious");
    const std::string link = Path("shared/CD_DATA");
    fs::create_directory_symlink(Dir / "private", link);
    ASSERT_EQ(::lchown(link.c_str(), NobodyId, NobodyId), 0);
    errno = 0;
    EXPECT_FALSE(ReplaceFileContents(link + "/VGL_00001234.CD", "planted"));
    EXPECT_EQ(errno, EACCES);
    EXPECT_FALSE(ReplaceFileContents(link + "/new.CD", "planted"));
    EXPECT_EQ(ReadBytes(Path("private/VGL_00001234.CD")), "precious");
    EXPECT_FALSE(fs::exists(Dir / "private" / "new.CD"));
    std::string target;
    EXPECT_FALSE(ResolveWritablePath(link + "/../private/x", target));

    // The user's own link to a folder, and a relative one, are followed.
    ASSERT_EQ(::lchown(link.c_str(), 0, 0), 0);
    fs::create_directory_symlink("../private", Dir / "shared" / "mine");
    EXPECT_TRUE(ReplaceFileContents(Path("shared/mine/VGL_00001234.CD"), "changed"));
    EXPECT_EQ(ReadBytes(Path("private/VGL_00001234.CD")), "changed");
    ASSERT_TRUE(ResolveWritablePath(link + "/x.CD", target));
    EXPECT_EQ(target, Path("private/x.CD"));
}

TEST_F(FileIoTest, ANamedPipeIsNotOpenedAndNothingWaitsForAWriter) {
    ASSERT_EQ(::mkfifo(Path("Konfig.Cfg").c_str(), 0600), 0);
    // Should the open wait for a writer after all, this one comes along after a while, so
    // the test fails instead of hanging.
    std::promise<void> returned;
    std::atomic<bool> rescued{false};
    std::thread writer([&, done = returned.get_future()] {
        if (done.wait_for(std::chrono::seconds(3)) == std::future_status::timeout) {
            rescued = true;
            ::close(::open(Path("Konfig.Cfg").c_str(), O_WRONLY | O_NONBLOCK));
        }
    });
    const bool opened = OpenForReading(Path("Konfig.Cfg")).IsOpen();
    returned.set_value();
    writer.join();
    EXPECT_FALSE(rescued) << "the open waited for a writer";
    EXPECT_FALSE(opened);
}

} // namespace
} // namespace vg
