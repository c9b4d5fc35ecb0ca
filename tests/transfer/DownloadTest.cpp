#include "TransferFixture.h"
#include "config/files/ConfigFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vg {
namespace {

using test::BytesOf;
using test::ReadBytes;
using test::SameBytes;

constexpr const char* Saved = TransferText::SavedToUnit;
constexpr const char* EnterIdentifier = TransferText::EnterIdentifier;

using test::GoldenImage;
using test::GoldenNames;

// An empty slot's other fields mean nothing.
bool SameTool(const sim::SimTool& a, const sim::SimTool& b) {
    return a.Programmed == b.Programmed &&
           (!a.Programmed ||
            (a.Angle == b.Angle && a.Tolerance == b.Tolerance && a.Intensity == b.Intensity));
}

class DownloadTest : public test::TransferTest {
protected:
    DownloadTest() {
        // A unit that holds something else everywhere.
        for (int n = 0; n < ToolSlotCount; ++n) {
            Unit().SetTool(n, {true, 1, 1, 1});
        }
        for (int p = 0; p <= 15; ++p) {
            Unit().SetParameter(p, 0x77);
        }
        Unit().SetCuId("99999999");
    }
    std::vector<DeviceRequest> RequestsSince(size_t first) const {
        const auto log = W.Unit().ChannelRequestLog();
        return {log.begin() + static_cast<std::ptrdiff_t>(std::min(first, log.size())), log.end()};
    }
    static bool Wrote(const std::vector<DeviceRequest>& requests, int parameter) {
        return std::any_of(requests.begin(), requests.end(), [parameter](const DeviceRequest& r) {
            return r[1] == RequestCode::ParameterWrite && r[0] == parameter;
        });
    }
    void GiveToolANameWithoutIdentifier() {
        Config.ConfigImage.Tools[3] = {1, 160.0F, 1.0F, 1};
        Config.ToolNameTable[3].Defined = 1;
        std::strcpy(Config.ToolNameTable[3].Name.data(), "drill");
        Config.NamespaceInfo.Stamp = {2001, 2, 3, 4, 5, 6};
        Config.NamespaceIdValid = false;
    }
};

TEST_P(DownloadTest, LeavesTheUnitHoldingTheFileAndAnUploadGivesItBack) {
    std::filesystem::create_directory(Dir / "archive");
    const auto archived = Dir / "archive" / "VGL_00001234.CD";
    test::WriteBytes(archived, GoldenImage());
    test::WriteBytes(Dir / "archive" / "VGL_00001234.NS", GoldenNames());
    ASSERT_TRUE(LoadConfigFile(Config, archived.string(), Config.TransferError, Messages));
    Messages.Expect(Saved);
    ASSERT_TRUE(SaveToUnit());
    EXPECT_EQ(Config.TransferError, 0U);
    EXPECT_EQ(Progress.Captions, std::vector<std::string>{DownloadCaption});
    EXPECT_FALSE(Progress.Visible);

    // The file's tools, converted: 160.00 and 1.0 degrees, 1.15 and 0.7, 359.99 and 25.5.
    for (int n = 0; n < ToolSlotCount; ++n) {
        sim::SimTool expected{};
        if (n == 3) {
            expected = {true, 16000, 10, 1};
        } else if (n == 17) {
            expected = {true, 115, 7, 0};
        } else if (n == 127) {
            expected = {true, 35999, 255, 3};
        }
        EXPECT_TRUE(SameTool(Unit().Tool(n), expected)) << n;
    }
    const std::pair<int, uint8_t> parameters[] = {
        {11, 1}, {3, 0},  {4, 1},    {12, 0},    {6, 2},  {1, 0},    {2, 1},
        {0, 2},  {13, 0}, {9, 0xE0}, {10, 0x2E}, {5, 30}, {14, 250}, {15, 0}};
    for (const auto& [number, value] : parameters) {
        EXPECT_EQ(Unit().Parameter(number), value) << number;
    }
    // The identifier of the file name with the stamp a file name gives.
    const std::array<uint8_t, 20> block = {'0', '0', '0', '0', '1', '2', '3', '4', 0xD4, 0x07,
                                           8,   0,   24,  0,   17,  0,   15,  0,   16,   0};
    EXPECT_EQ(Unit().NamespaceBlock(), block);
    EXPECT_TRUE(SameBytes(ReadBytes(Dir / "CD_DATA" / "VGL_00001234.NS"), GoldenNames()));

    // What the unit holds comes back as the file, but for what never travels: the reserved
    // words and the old values of the empty slot 50.
    Config = ConfigState{};
    Config.DataDir = Dir.ProgramDir();
    ASSERT_TRUE(Upload());
    Messages.Expect("File save successfull!");
    ASSERT_TRUE(SaveToFile(Dir / "VGL_00001234.CD"));
    ConfigImage expected;
    std::memcpy(&expected, GoldenImage().data(), sizeof expected);
    expected.Reserved1 = 0;
    expected.Reserved2.fill(0);
    expected.Tools[50] = {};
    EXPECT_TRUE(SameBytes(ReadBytes(Dir / "VGL_00001234.CD"), BytesOf(expected)));
    EXPECT_TRUE(SameBytes(ReadBytes(Dir / "VGL_00001234.NS"), GoldenNames()));
}

TEST_P(DownloadTest, PulseTimeIsWrittenOnlyFromFirmware104) {
    struct Case {
        uint8_t Major;
        uint8_t Minor;
        bool Written;
    };
    Config.ConfigImage.OutPulseTime = 0x0305;
    for (const Case c :
         {Case{1, 3, false}, Case{1, 4, true}, Case{0, 99, false}, Case{2, 0, true}}) {
        SCOPED_TRACE(c.Major * 100 + c.Minor);
        Unit().SetFirmware(c.Major, c.Minor);
        Unit().SetParameter(14, 0x11);
        Unit().SetParameter(15, 0x22);
        const size_t first = Unit().ChannelRequestLog().size();
        Messages.Expect(Saved);
        ASSERT_TRUE(SaveToUnit());
        const auto requests = RequestsSince(first);
        EXPECT_EQ(Wrote(requests, 14), c.Written);
        EXPECT_EQ(Wrote(requests, 15), c.Written);
        EXPECT_TRUE(Wrote(requests, 13)) << "the other parameters are written in any case";
        EXPECT_EQ(Unit().Parameter(14), c.Written ? 0x05 : 0x11);
        EXPECT_EQ(Unit().Parameter(15), c.Written ? 0x03 : 0x22);
    }
}

TEST_P(DownloadTest, EmptySlotsAreDeletedUpToTheUnitsCapacity) {
    struct Case {
        uint8_t Variant;
        int Slots;
    };
    for (const Case c : {Case{4, 128}, Case{0, 32}, Case{1, 1}}) {
        SCOPED_TRACE(static_cast<int>(c.Variant));
        for (int n = 0; n < ToolSlotCount; ++n) {
            Unit().SetTool(n, {true, 1, 1, 1});
        }
        Unit().SetVariant(c.Variant);
        const size_t first = Unit().ChannelRequestLog().size();
        Messages.Expect(Saved);
        ASSERT_TRUE(SaveToUnit());
        int n = 0;
        for (const DeviceRequest& r : RequestsSince(first)) {
            if (r[1] == RequestCode::ToolDelete) {
                EXPECT_EQ(r, (DeviceRequest{static_cast<uint8_t>(n), 0xC8, 0, 0, 0, 0}));
                ++n;
            }
            EXPECT_NE(r[1], RequestCode::ToolWrite);
        }
        EXPECT_EQ(n, c.Slots);
        for (int slot = 0; slot < ToolSlotCount; ++slot) {
            EXPECT_EQ(Unit().Tool(slot).Programmed, slot >= c.Slots) << slot;
        }
        EXPECT_FALSE(Wrote(RequestsSince(first), 32)) << "no identifier, no names: no block";
    }
}

TEST_P(DownloadTest, TheQuestionReturnsUntilAValidIdentifierIsTyped) {
    GiveToolANameWithoutIdentifier();
    Messages.Expect(EnterIdentifier, MessageResult::Yes);
    Identifier.Enter("1234567");
    Messages.Expect(EnterIdentifier, MessageResult::Yes);
    Identifier.Enter("87654321");
    Messages.Expect(Saved);
    ASSERT_TRUE(SaveToUnit());
    EXPECT_TRUE(Config.NamespaceIdValid);
    const std::array<uint8_t, 20> block = {'8', '7', '6', '5', '4', '3', '2', '1', 0xD1, 0x07,
                                           2,   0,   3,   0,   4,   0,   5,   0,   6,    0};
    EXPECT_EQ(Unit().NamespaceBlock(), block) << "typed digits, the stamp kept";
    const auto names = Dir / "CD_DATA" / "VGL_87654321.NS";
    EXPECT_EQ(Config.NamespaceFileName, names.string());
    EXPECT_TRUE(SameBytes(ReadBytes(names), BytesOf(Config.ToolNameTable)));
}

TEST_P(DownloadTest, GivingUpOnTheIdentifierSendsTheConfigurationWithoutNames) {
    GiveToolANameWithoutIdentifier();
    const auto blockBefore = Unit().NamespaceBlock();
    Messages.Expect(EnterIdentifier, MessageResult::Yes);
    Identifier.Enter("12345x78");
    Messages.Expect(EnterIdentifier, MessageResult::No);
    Messages.Expect(Saved);
    ASSERT_TRUE(SaveToUnit());
    EXPECT_EQ(Messages.History()[0].Kind, MessageKind::Warning);
    EXPECT_EQ(Messages.History()[0].Buttons, MessageButtons::YesNo);
    EXPECT_TRUE(Unit().Tool(3).Programmed) << "the configuration itself is sent";
    EXPECT_FALSE(Config.NamespaceIdValid);
    EXPECT_EQ(Unit().NamespaceBlock(), blockBefore);
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "CD_DATA"));
}

TEST_P(DownloadTest, ANameFileThatCannotBeWrittenFailsWithCode3) {
    // CD_DATA cannot be made where a file of that name is in the way.
    std::filesystem::remove(Dir / "CD_DATA");
    test::WriteBytes(Dir / "CD_DATA", "");
    GiveToolANameWithoutIdentifier();
    Config.NamespaceIdValid = true;
    std::memcpy(Config.NamespaceInfo.CU_Id.data(), "00004321", 8);
    Messages.Expect("File Write Error!\n" + (Dir / "CD_DATA").string() + ": Not a directory");
    EXPECT_FALSE(SaveToUnit());
    EXPECT_EQ(Config.TransferError, TransferCode::FileWrite);
    const auto block = Unit().NamespaceBlock();
    EXPECT_EQ(std::string(block.begin(), block.begin() + 8), "00004321")
        << "the unit was written before the name file";
    EXPECT_EQ(W.Par.ParState, 0);

    // A missing CD_DATA is made when the names are first saved.
    std::filesystem::remove(Dir / "CD_DATA");
    Messages.Expect(Saved);
    EXPECT_TRUE(SaveToUnit());
    EXPECT_TRUE(std::filesystem::exists(Dir / "CD_DATA" / "VGL_00004321.NS"));
}

TEST_P(DownloadTest, ValuesTheUnitCannotHoldAreRefusedBeforeAnythingIsSent) {
    // What a damaged file or one written elsewhere may hold; sent, each arrived wrapped.
    Config.ConfigImage.Tools[3] = {1, 700.0F, 1.0F, 1};
    Config.ConfigImage.Tools[4] = {1, -1.0F, 30.0F, -1};
    Config.ConfigImage.Tools[5] = {1, std::nanf(""), 1e12F, 1};
    Config.ConfigImage.Tools[6] = {0, -5.0F, -5.0F, 99}; // empty: nothing of it is sent
    Config.ConfigImage.Tools[17] = {1, 1.15F, 0.1F, 0};  // as a unit may hold it
    Config.ConfigImage.DefaultTolerance = 3000;
    Config.ConfigImage.OutPulseTime = 10;
    Messages.Expect("Values out of range; nothing was sent to the unit:\n"
                    "Out Pulse Time [msec]: 10 is outside 0 or 20 to 5000\n"
                    "Default Tolerance: 30.00 is outside 0.00 to 25.50\n"
                    "Tool 3: Angle 700.00 is outside 0.00 to 655.35\n"
                    "Tool 4: Angle -1.00 is outside 0.00 to 655.35\n"
                    "Tool 4: Tolerance 30.00 is outside 0.00 to 25.50\n"
                    "Tool 4: Intensity -1 is outside 0 to 3\n"
                    "Tool 5: Angle nan is outside 0.00 to 655.35\n"
                    "Tool 5: Tolerance 999999995904.00 is outside 0.00 to 25.50");
    EXPECT_FALSE(SaveToUnit());
    EXPECT_EQ(Config.TransferError, TransferCode::ValueOutOfRange);
    EXPECT_EQ(Messages.History().back().Kind, MessageKind::Error);
    EXPECT_TRUE(Unit().RequestsReceived().empty()) << "not even the firmware was asked for";
    EXPECT_TRUE(Progress.Captions.empty());

    Config.ConfigImage.Tools[3].Angle = 300.0F;
    Config.ConfigImage.Tools[4] = {1, 0.0F, 25.5F, 3};
    Config.ConfigImage.Tools[5] = {1, 655.35F, 0.0F, 0};
    Config.ConfigImage.DefaultTolerance = 2550;
    Config.ConfigImage.OutPulseTime = 5000;
    Messages.Expect(Saved);
    EXPECT_TRUE(SaveToUnit()) << "the limits themselves go through";
    EXPECT_TRUE(SameTool(Unit().Tool(5), {true, 65535, 0, 0}));
}

TEST_P(DownloadTest, FileBranchWritesTheImageAndNamesOrReportsCode3) {
    GiveToolANameWithoutIdentifier();
    Config.ConfigImage.OutPulseTime = 40;
    Messages.Expect("File Write Error!\n" + (Dir / "missing" / "VGL_00000001.CD").string() +
                    ": No such file or directory");
    EXPECT_FALSE(SaveToFile(Dir / "missing" / "VGL_00000001.CD"));
    EXPECT_EQ(Config.TransferError, TransferCode::FileWrite);
    EXPECT_FALSE(std::filesystem::exists(Dir / "missing"));

    Messages.Expect("File save successfull!");
    EXPECT_TRUE(SaveToFile(Dir / "VGL_00000001.CD"));
    EXPECT_EQ(Config.TransferError, 0U);
    EXPECT_EQ(ReadBytes(Dir / "VGL_00000001.CD"), test::CdBytes(Config.ConfigImage));
    EXPECT_EQ(ReadBytes(Dir / "VGL_00000001.NS"), BytesOf(Config.ToolNameTable));
    EXPECT_EQ(Config.ConfigImage.OutPulseTime, 40);
    EXPECT_TRUE(Unit().ChannelRequestLog().empty()) << "a file save does not talk to the unit";
}

// Once more through the simulated unit's driver library: the driver interface end to end.
INSTANTIATE_TEST_SUITE_P(BothModes, DownloadTest,
                         ::testing::Values(CommMode::Serial, CommMode::Fieldbus,
                                           test::FieldbusThroughDriver),
                         test::ModeName);

} // namespace
} // namespace vg
