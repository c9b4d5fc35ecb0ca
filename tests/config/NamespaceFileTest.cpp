#include "config/files/NamespaceFile.h"

#include "FileTestSupport.h"
#include "common/ErrorCode.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace vg {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr const char* IllegalSize = NamesFileSizeWarning;

class NamespaceFileTest : public ::testing::Test {
protected:
    // Every record defined with a name, as a previous configuration leaves the table.
    void FillTable() {
        for (size_t n = 0; n < names.size(); ++n) {
            names[n].Defined = 1;
            std::snprintf(names[n].Name.data(), names[n].Name.size(), "old %zu", n);
        }
    }
    std::string Golden() const { return ReadBytes(test::FixturePath("VGL_00001234.NS")); }
    std::string CdPath() const { return (dir / "VGL_00001234.CD").string(); }
    std::filesystem::path NsPath() const { return dir / "VGL_00001234.NS"; }

    test::TempDir dir;
    test::ScriptedMessages messages;
    ToolNameTable names{};
    ErrorCode error = 99;
};

TEST_F(NamespaceFileTest, FullFileLoadsEveryRecord) {
    FillTable();
    WriteBytes(NsPath(), Golden());
    EXPECT_TRUE(LoadToolNames(names, CdPath(), error, messages));
    EXPECT_EQ(error, 0U);
    EXPECT_EQ(std::memcmp(names.data(), Golden().data(), sizeof names), 0);
    EXPECT_STREQ(names[3].Name.data(), "drill 2,5 mm");
    EXPECT_EQ(names[4].Defined, 0);
}

TEST_F(NamespaceFileTest, ThirtyTwoRecordFileLeavesTheOthersUndefined) {
    FillTable();
    WriteBytes(NsPath(), Golden().substr(0, 2688));
    EXPECT_TRUE(LoadToolNames(names, CdPath(), error, messages));
    EXPECT_EQ(error, 0U);
    EXPECT_EQ(names[3].Defined, 1);
    for (size_t n = 32; n < names.size(); ++n) {
        EXPECT_EQ(names[n].Defined, 0) << n;
    }
}

TEST_F(NamespaceFileTest, LongerFileLoadsItsFirstRecordsWithoutWarning) {
    WriteBytes(NsPath(), Golden() + std::string(20000 - 10752, 'x'));
    EXPECT_TRUE(LoadToolNames(names, CdPath(), error, messages));
    EXPECT_EQ(error, 0U);
    EXPECT_EQ(std::memcmp(names.data(), Golden().data(), sizeof names), 0);
}

TEST_F(NamespaceFileTest, IllegalSizeWarnsAndKeepsWhatWasRead) {
    FillTable();
    std::string bytes = Golden().substr(0, 3000);
    WriteBytes(NsPath(), bytes);
    messages.Expect(IllegalSize);
    EXPECT_FALSE(LoadToolNames(names, CdPath(), error, messages));
    EXPECT_EQ(error, TransferCode::NamespaceFile);
    ASSERT_EQ(messages.History().size(), 1U);
    EXPECT_EQ(messages.History()[0].Kind, MessageKind::Warning);
    EXPECT_EQ(messages.History()[0].Buttons, MessageButtons::Ok);
    EXPECT_EQ(std::memcmp(names.data(), bytes.data(), bytes.size()), 0); // records 0..34
    EXPECT_EQ(names[36].Defined, 0);
}

TEST_F(NamespaceFileTest, MissingFileMeansNoNames) {
    FillTable();
    EXPECT_TRUE(LoadToolNames(names, CdPath(), error, messages));
    EXPECT_EQ(error, 0U);
    EXPECT_FALSE(AnyToolNameDefined(names));
    EXPECT_STREQ(names[0].Name.data(), "old 0"); // only the flags are cleared
}

TEST_F(NamespaceFileTest, DirectoryInPlaceOfTheFileMeansNoNames) {
    FillTable();
    std::filesystem::create_directory(NsPath());
    EXPECT_TRUE(LoadToolNames(names, CdPath(), error, messages));
    EXPECT_FALSE(AnyToolNameDefined(names));
}

TEST_F(NamespaceFileTest, SaveWritesTheTableByteForByte) {
    WriteBytes(NsPath(), Golden());
    ASSERT_TRUE(LoadToolNames(names, CdPath(), error, messages));
    std::filesystem::remove(NsPath());
    // Any extension of the given path becomes ".NS".
    EXPECT_TRUE(SaveToolNames(names, (dir / "VGL_00001234.xyz").string(), error));
    EXPECT_EQ(error, 0U);
    EXPECT_EQ(ReadBytes(NsPath()), Golden());
}

TEST_F(NamespaceFileTest, FailedSaveLeavesThePreviousFile) {
    WriteBytes(NsPath(), Golden());
    FillTable();
    for (size_t budget : {size_t{0}, size_t{1}, size_t{5000}, size_t{10751}}) {
        error = 0;
        EXPECT_FALSE(SaveToolNames(names, CdPath(), error, test::FailingAfter(budget)));
        EXPECT_EQ(error, TransferCode::FileWrite);
        EXPECT_EQ(ReadBytes(NsPath()), Golden()) << budget;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file may stay behind";
}

TEST_F(NamespaceFileTest, SaveWithoutTheDataDirectoryFails) {
    EXPECT_FALSE(SaveToolNames(names, (dir / "CD_DATA" / "VGL_00001234.NS").string(), error));
    EXPECT_EQ(error, TransferCode::FileWrite);
    EXPECT_FALSE(std::filesystem::exists(dir / "CD_DATA"));
}

TEST_F(NamespaceFileTest, SaveOverADirectoryFailsAndKeepsIt) {
    std::filesystem::create_directory(NsPath());
    EXPECT_FALSE(SaveToolNames(names, CdPath(), error));
    EXPECT_EQ(error, TransferCode::FileWrite);
    EXPECT_TRUE(std::filesystem::is_directory(NsPath()));
}

TEST(NamespacePath, BuiltFromProgramDirAndIdentifier) {
    NamespaceInfo info{};
    std::memcpy(info.CU_Id.data(), "00001234", 8);
    EXPECT_EQ(NamespaceFilePath("/opt/Tool/", info), "/opt/Tool/CD_DATA/VGL_00001234.NS");
}

TEST(NamespacePath, IdentifierBytesCannotLeaveTheDirectory) {
    NamespaceInfo info{};
    std::memcpy(info.CU_Id.data(), "../x/\0ab", 8);
    const std::string path = NamespaceFilePath("/opt/Tool/", info);
    EXPECT_EQ(path, "/opt/Tool/CD_DATA/VGL_.._x__ab.NS");
}

TEST(ToolNamesDefined, FoundInAnyRecord) {
    ToolNameTable names{};
    EXPECT_FALSE(AnyToolNameDefined(names));
    names[127].Defined = 1;
    EXPECT_TRUE(AnyToolNameDefined(names));
    names[127].Defined = 0;
    names[0].Defined = -1;
    EXPECT_TRUE(AnyToolNameDefined(names));
}

TEST(CuIdEntry, EightDigitsReplaceTheIdentifierOnly) {
    NamespaceInfo info{};
    std::memcpy(info.CU_Id.data(), "11111111", 8);
    info.Stamp = {2001, 2, 3, 4, 5, 6};
    bool valid = false;
    EXPECT_TRUE(AcceptCuIdEntry("00420815", info, valid));
    EXPECT_TRUE(valid);
    EXPECT_EQ(std::string(info.CU_Id.begin(), info.CU_Id.end()), "00420815");
    EXPECT_EQ(info.Stamp[0], 2001);
    EXPECT_EQ(info.Stamp[5], 6);
}

TEST(CuIdEntry, AnythingElseIsRefusedAndInvalidates) {
    for (const char* entry :
         {"1234567", "1234567 ", "123456789", "1234a678", "", " 1234567", "１２３４５６７８"}) {
        NamespaceInfo info{};
        std::memcpy(info.CU_Id.data(), "11111111", 8);
        bool valid = true;
        EXPECT_FALSE(AcceptCuIdEntry(entry, info, valid)) << entry;
        EXPECT_FALSE(valid);
        EXPECT_EQ(std::string(info.CU_Id.begin(), info.CU_Id.end()), "11111111");
    }
}

} // namespace
} // namespace vg
