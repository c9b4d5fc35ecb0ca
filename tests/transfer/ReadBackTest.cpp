#include "TransferFixture.h"
#include "config/transfer/ConfigCompare.h"
#include "config/transfer/UnitReadBack.h"
#include "support/RecordingTrace.h"

#include <algorithm>
#include <cstring>

namespace vg {
namespace {

constexpr const char* Saved = TransferText::SavedToUnit;

std::vector<std::string> Texts(const std::vector<ConfigDifference>& differences,
                               const char* expectedWord, const char* foundWord) {
    std::vector<std::string> texts;
    for (const ConfigDifference& d : differences) {
        texts.push_back(DifferenceText(d, expectedWord, foundWord));
    }
    return texts;
}

// A download with its read-back, and a file compared with the unit.
class ReadBackTest : public test::TransferTest {
protected:
    ReadBackTest() {
        SetConfigDefaults(Config.ConfigImage);
        Config.ConfigImage.DefaultAngle = 12000;
        Config.ConfigImage.OutPulseTime = 20;
        Config.ConfigImage.Tools[3] = {1, 45.5F, 1.0F, 1};
        Services.Check = &Check;
    }
    bool VerifiedSave() {
        Messages.Expect(Saved);
        return SaveToUnit();
    }

    DownloadCheck Check;
};

TEST_P(ReadBackTest, AToolTheUnitKeptOtherwiseIsNamedWithBothValues) {
    const std::string image = test::BytesOf(Config.ConfigImage);
    const std::string snapshot = test::BytesOf(Config.SavedImage);
    sim::SimFaults faults;
    faults.MisstoredTool = 3;
    Unit().SetFaults(faults);
    ASSERT_TRUE(VerifiedSave()) << "the download itself went as it always did";
    EXPECT_TRUE(Check.Done);
    EXPECT_EQ(Check.ReadError, 0u);
    EXPECT_EQ(Texts(Check.Differences, "sent", "stored"),
              std::vector<std::string>{"tool 3: angle 45.50 sent, 46.50 stored"});
    // Read back under the download's progress window, before it closed.
    EXPECT_EQ(Progress.Captions, (std::vector<std::string>{DownloadCaption, ReadBackCaption}));
    EXPECT_FALSE(Progress.Visible);
    EXPECT_TRUE(test::SameBytes(test::BytesOf(Config.ConfigImage), image));
    EXPECT_TRUE(test::SameBytes(test::BytesOf(Config.SavedImage), snapshot));

    Unit().SetFaults({});
    ASSERT_TRUE(VerifiedSave());
    EXPECT_TRUE(Check.Done);
    EXPECT_TRUE(Check.Differences.empty());
}

// What the unit keeps otherwise by design is no difference: slots beyond its capacity, the
// pulse time of firmware without it, tolerances in whole tenths, an empty slot's values, the
// words that are never sent.
TEST_P(ReadBackTest, WhatTheUnitRightlyKeepsOtherwiseIsNoDifference) {
    Unit().SetVariant(2); // 32 tool slots
    Unit().SetFirmware(1, 3);
    Config.ConfigImage.Tools[40] = {1, 100.0F, 1.0F, 1};
    Config.ConfigImage.Tools[5] = {1, 20.0F, 0.75F, 2}; // kept as 0.70
    Config.ConfigImage.Tools[6] = {0, 12.34F, 5.0F, 3};
    Config.ConfigImage.DefaultTolerance = 305; // kept as 3.00
    Config.ConfigImage.OutPulseTime = 100;     // not sent to firmware 1.03
    Config.ConfigImage.Reserved1 = 7;
    Config.NamespaceIdValid = true;
    std::memcpy(Config.NamespaceInfo.CU_Id.data(), "00004321", CuIdLength);
    ASSERT_TRUE(VerifiedSave());
    EXPECT_EQ(Check.ReadError, 0u);
    EXPECT_EQ(Texts(Check.Differences, "sent", "stored"), std::vector<std::string>{});
}

TEST_P(ReadBackTest, AReadBackThatFailsIsToldAndTheDownloadStillCounts) {
    Services.Check = nullptr;
    Messages.Expect(Saved);
    const int before = Unit().ChannelRequestsSeen();
    ASSERT_TRUE(SaveToUnit());
    const int download = Unit().ChannelRequestsSeen() - before;
    Services.Check = &Check;
    SetFaults([](sim::SimFaults& f) { f.NoReply = true; }, download);
    ASSERT_TRUE(VerifiedSave());
    EXPECT_TRUE(Check.Done);
    EXPECT_EQ(Check.ReadError, TransferCode::Timeout);
}

TEST_P(ReadBackTest, AFileIsComparedWithWhatADownloadWouldChange) {
    ASSERT_TRUE(VerifiedSave());
    ConfigState file = Config;
    file.NamespaceIdValid = false;
    std::vector<ConfigDifference> differences;
    ErrorCode error = 0;
    ASSERT_TRUE(CompareFileWithUnit(file, W.Par, Progress, differences, error));
    EXPECT_TRUE(differences.empty());

    file.ConfigImage.Tools[3].Angle = 170.0F;
    file.ConfigImage.Tools[4] = {1, 10.0F, 1.0F, 1};
    file.ConfigImage.RotDir = 0;
    Unit().SetVariant(2);
    file.ConfigImage.Tools[40] = {1, 100.0F, 1.0F, 1}; // beyond the unit's 32 slots
    file.NamespaceIdValid = true;
    std::memcpy(file.NamespaceInfo.CU_Id.data(), "00001235", CuIdLength);
    ASSERT_TRUE(CompareFileWithUnit(file, W.Par, Progress, differences, error));
    EXPECT_EQ(Texts(differences, "in file", "in unit"),
              (std::vector<std::string>{
                  "Rotation Direction: Counter-Clockwise in file, Clockwise in unit",
                  "tool 3: angle 170.00 in file, 45.50 in unit",
                  "tool 4: programmed in file, empty in unit",
                  "tool 40: programmed in file, no slot in unit",
                  "CU_Id: 00001235 in file, 00001234 in unit"}));
}

TEST_P(ReadBackTest, AUnitThatStopsAnsweringEndsTheComparisonAfterOneDeadline) {
    Unit().SetSilent(true);
    test::RecordingTrace trace;
    W.World.Link.SetTrace(&trace);
    std::vector<ConfigDifference> differences;
    ErrorCode error = 0;
    EXPECT_FALSE(CompareFileWithUnit(Config, W.Par, Progress, differences, error));
    W.World.Link.SetTrace(nullptr); // nothing is on its way any more
    EXPECT_EQ(error, TransferCode::Timeout);
    const auto events = trace.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), TraceEventKind::Timeout), 1);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ReadBackTest,
                         ::testing::Values(CommMode::Serial, CommMode::Fieldbus), test::ModeName);

} // namespace
} // namespace vg
