#include "TransferFixture.h"

#include <algorithm>
#include <cstring>

namespace vg {
namespace {

using test::BytesOf;
using test::CdBytes;
using test::ReadBytes;
using test::SameBytes;

// An image full of bytes no upload would produce, so every field the upload leaves alone
// shows as itself.
ConfigImage StaleImage() {
    ConfigImage image;
    std::memset(&image, 0x5A, sizeof image);
    return image;
}

// A unit whose every global parameter differs from what the image held, with tools at the
// edges of the value ranges.
void ProgramUnit(sim::SimUnit& unit) {
    const std::pair<int, uint8_t> parameters[] = {
        {11, 1}, {3, 0},  {4, 0},    {12, 0},    {6, 2},  {1, 0},     {2, 0},
        {0, 3},  {13, 0}, {9, 0x34}, {10, 0x12}, {5, 25}, {14, 0xF4}, {15, 0x01}};
    for (const auto& [number, value] : parameters) {
        unit.SetParameter(number, value);
    }
    unit.SetTool(0, {true, 0, 0, 0});
    unit.SetTool(17, {true, 115, 7, 0});
    unit.SetTool(42, {true, 6543, 15, 2});
    unit.SetTool(127, {true, 65535, 255, 3});
    unit.SetCuId("00001234");
}

class UploadTest : public test::TransferTest {
protected:
    UploadTest() {
        Config.ConfigImage = StaleImage();
        for (ToolNameRecord& record : Config.ToolNameTable) {
            record.Defined = 1;
        }
        ProgramUnit(Unit());
    }
    void PutUnitNames(const std::string& bytes) {
        test::WriteBytes(Dir / "CD_DATA" / "VGL_00001234.NS", bytes);
    }
    static std::string GoldenNames() { return ReadBytes(test::FixturePath("VGL_00001234.NS")); }
};

TEST_P(UploadTest, GivesTheFileBytesTheUnitsContentImplies) {
    PutUnitNames(GoldenNames());
    ASSERT_TRUE(Upload());
    EXPECT_EQ(Config.TransferError, 0U);

    ConfigImage expected = StaleImage();
    expected.ReturnTrvMon = 1;
    expected.Monitoring = 0;
    expected.RotDir = 0;
    expected.PowerOnMove = 0;
    expected.Scanner = 2;
    expected.Out1Polarity = 0;
    expected.Out2Polarity = 0;
    expected.DefaultIntensity = 3;
    expected.SignalMode = 0;
    expected.DefaultAngle = 0x1234;
    expected.DefaultTolerance = 250;
    expected.OutPulseTime = 0x01F4;
    for (ToolRecord& tool : expected.Tools) {
        tool.Programmed = 0; // an empty slot keeps the rest of what it held
    }
    expected.Tools[0] = {1, 0.0F, 0.0F, 0};
    expected.Tools[17] = {1, 1.15F, 0.7F, 0};
    expected.Tools[42] = {1, 65.43F, 1.5F, 2};
    expected.Tools[127] = {1, 655.35F, 25.5F, 3};

    Messages.Expect("File save successfull!");
    ASSERT_TRUE(SaveToFile(Dir / "unit.CD"));
    EXPECT_TRUE(SameBytes(ReadBytes(Dir / "unit.CD"), CdBytes(expected)));
    EXPECT_TRUE(SameBytes(ReadBytes(Dir / "unit.NS"), GoldenNames()));

    EXPECT_TRUE(Config.NamespaceIdValid);
    EXPECT_EQ(Config.NamespaceFileName, (Dir / "CD_DATA" / "VGL_00001234.NS").string());
    const auto block = Unit().NamespaceBlock();
    EXPECT_EQ(BytesOf(Config.NamespaceInfo), std::string(block.begin(), block.end()));
    EXPECT_TRUE(Config.VersionValid);
    EXPECT_EQ(FirmwareVersionNumber(Config.FirmwareInfo), 104);
    EXPECT_EQ(Config.FirmwareInfo.FwDate1, 24);
    EXPECT_EQ(Config.ToolCapacity, 128);
    EXPECT_EQ(Config.ToolLines.size(), 4U);
    EXPECT_FALSE(DiffersFromSnapshots(Config));
    EXPECT_FALSE(Config.TransferBusy);
    EXPECT_EQ(W.Par.ParState, 0);

    const auto tools = ToolRequests();
    ASSERT_EQ(tools.size(), 128U);
    for (size_t n = 0; n < tools.size(); ++n) {
        EXPECT_EQ(tools[n], (DeviceRequest{static_cast<uint8_t>(n), 0xC1, 0, 0, 0, 0}));
    }
    EXPECT_EQ(Progress.Captions, std::vector<std::string>{UploadCaption});
    ASSERT_EQ(Progress.Percents.size(), 128U);
    EXPECT_EQ(Progress.Percents.front(), 0);
    EXPECT_EQ(Progress.Percents.back(), 127 * 100 / 129);
    EXPECT_TRUE(std::is_sorted(Progress.Percents.begin(), Progress.Percents.end()));
    EXPECT_FALSE(Progress.Visible);
}

TEST_P(UploadTest, TheVariantDecidesWhichSlotsAreRead) {
    struct Case {
        uint8_t Variant;
        size_t SlotsRead;
    };
    // Variant 1 has no slots, yet tool 0 is always exchanged.
    for (const Case c : {Case{0, 32}, Case{1, 1}, Case{3, 64}, Case{4, 128}, Case{0x0C, 128}}) {
        SCOPED_TRACE(static_cast<int>(c.Variant));
        Unit().SetVariant(c.Variant);
        Config.ConfigImage = StaleImage();
        const size_t before = ToolRequests().size();
        ASSERT_TRUE(Upload());
        EXPECT_EQ(ToolRequests().size() - before, c.SlotsRead);
        const ConfigImage stale = StaleImage();
        for (size_t n = c.SlotsRead; n < ToolSlotCount; ++n) {
            EXPECT_EQ(BytesOf(Config.ConfigImage.Tools[n]), BytesOf(stale.Tools[n])) << n;
        }
        EXPECT_EQ(Config.ConfigImage.Tools[0].Programmed, 1);
    }
}

TEST_P(UploadTest, ImplausibleDefaultsAreReplacedTogether) {
    Unit().SetParameter(5, 2); // 20 hundredths is still plausible
    ASSERT_TRUE(Upload());
    EXPECT_EQ(Config.ConfigImage.DefaultTolerance, 20);
    EXPECT_EQ(Config.ConfigImage.DefaultAngle, 0x1234);
    Unit().SetParameter(5, 1); // 10 hundredths
    ASSERT_TRUE(Upload());
    EXPECT_EQ(Config.ConfigImage.DefaultAngle, 12000);
    EXPECT_EQ(Config.ConfigImage.DefaultTolerance, 300);
    EXPECT_EQ(Config.ConfigImage.DefaultIntensity, 1);
}

TEST_P(UploadTest, WithoutAnIdentifierTheUploadSucceedsAndKeepsTheNames) {
    PutUnitNames(GoldenNames());
    // Letters among the digits, then a unit that no longer answers for its namespace block
    // (the fourteen global parameters come before it).
    Unit().SetCuId("12AB5678");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        for (ToolNameRecord& record : Config.ToolNameTable) {
            record.Defined = 1;
        }
        Config.NamespaceIdValid = true;
        Messages.Expect("No Namespace-Information in VG.Module found!");
        ASSERT_TRUE(Upload());
        EXPECT_EQ(Config.TransferError, 0U);
        EXPECT_FALSE(Config.NamespaceIdValid);
        // The unit names no file: the names in memory are neither replaced nor dropped.
        EXPECT_TRUE(std::all_of(Config.ToolNameTable.begin(), Config.ToolNameTable.end(),
                                [](const ToolNameRecord& r) { return r.Defined == 1; }));
        EXPECT_EQ(Config.ToolLines.size(), 4U);
        EXPECT_FALSE(DiffersFromSnapshots(Config));
        Unit().SetCuId("00001234");
        SetFaults([](sim::SimFaults& f) { f.NoReply = true; }, 6 + 128 + 14);
    }
}

TEST_P(UploadTest, AnIllegalNameFileFailsTheUploadWithCode1) {
    PutUnitNames(std::string(3000, 'n'));
    TakeSnapshots(Config);
    Messages.Expect("Namespace-File has illegal size!");
    Messages.Expect("Error in Namespace-File");
    EXPECT_FALSE(Upload());
    EXPECT_EQ(Config.TransferError, TransferCode::NamespaceFile);
    EXPECT_EQ(BytesOf(Config.SavedImage), BytesOf(StaleImage())) << "no snapshot after a failure";
    EXPECT_FALSE(Progress.Visible);
    EXPECT_FALSE(Config.TransferBusy);
}

TEST_P(UploadTest, AnEchoPastTheLastSlotIsRefusedNotStored) {
    // The reply for tool 127 names tool 128, one past the table.
    SetFaults([](sim::SimFaults& f) { f.WrongEcho = true; }, 6 + 127, 1);
    Messages.Expect("Syncronisation-Error in communication to VGL");
    EXPECT_FALSE(Upload());
    EXPECT_EQ(Config.TransferError, TransferCode::Synchronisation);
    EXPECT_EQ(BytesOf(Config.ConfigImage.Tools[127]), BytesOf(StaleImage().Tools[127]));
    EXPECT_EQ(Config.ConfigImage.Tools[42].Programmed, 1) << "slots read before stay";
}

TEST_P(UploadTest, APartlyReadIdentificationLeavesTheFirmwareInfoAlone) {
    ASSERT_TRUE(Upload());
    const FirmwareInfo before = Config.FirmwareInfo;
    Unit().SetFirmware(2, 7);
    Unit().SetVariant(0);
    // Variant and dates come, the minor version is refused.
    SetFaults([](sim::SimFaults& f) { f.RefuseRead = true; }, 4, 1);
    Messages.Expect("Read Error from VGL");
    EXPECT_FALSE(Upload());
    EXPECT_EQ(BytesOf(Config.FirmwareInfo), BytesOf(before));
    EXPECT_EQ(Config.ToolCapacity, 128);
}

// Once more through the simulated unit's driver library: the driver interface end to end.
INSTANTIATE_TEST_SUITE_P(BothModes, UploadTest,
                         ::testing::Values(CommMode::Serial, CommMode::Fieldbus,
                                           test::FieldbusThroughDriver),
                         test::ModeName);

} // namespace
} // namespace vg
