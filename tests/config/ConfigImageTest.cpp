#include "config/model/ConfigImage.h"

#include "config/model/ConfigState.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace vg {
namespace {

TEST(ToolConversions, ValuesReadFromTheUnitGoBackUnchanged) {
    EXPECT_EQ(AngleFromWord(115), 1.15F);
    EXPECT_EQ(ToleranceFromByte(7), 0.7F);
    for (uint16_t word : {0, 1, 115, 12000, 35999, 65535}) {
        EXPECT_EQ(AngleToWord(AngleFromWord(word)), word) << word;
    }
    for (int tenths = 0; tenths <= 255; ++tenths) {
        const auto byte = static_cast<uint8_t>(tenths);
        EXPECT_EQ(ToleranceToByte(ToleranceFromByte(byte)), byte) << tenths;
    }
}

TEST(ToolConversions, EnteredValuesAreRoundedToHundredthsAndToleranceCutToTenths) {
    EXPECT_EQ(AngleToWord(1.154F), 115);
    EXPECT_EQ(AngleToWord(1.156F), 116);
    EXPECT_EQ(ToleranceToByte(0.75F), 7);
    EXPECT_EQ(ToleranceToByte(0.79F), 7);
}

TEST(ToolConversions, ValuesFromAForeignFileDoNotBreakTheConversion) {
    EXPECT_EQ(AngleToWord(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(AngleToWord(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(AngleToWord(1e30F), 0);
    // Only the low 16 bits reach the unit, as for every word field.
    EXPECT_EQ(AngleToWord(655.36F), 0);
}

TEST(ToolCapacity, OnlyTheLowThreeBitsOfTheVariantCount) {
    EXPECT_EQ(ToolCapacityOf(4), 128);
    EXPECT_EQ(ToolCapacityOf(1), 0);
    EXPECT_EQ(ToolCapacityOf(0xFC), 128);
    EXPECT_EQ(ToolCapacityOf(0xFB), 64);
}

ConfigImage FilledImage() {
    ConfigImage image{};
    std::memset(&image, 0x5A, sizeof image);
    for (ToolRecord& tool : image.Tools) {
        tool.Programmed = 1;
    }
    return image;
}

TEST(ConfigDefaults, EmptyEveryToolAndSetTheSettings) {
    ConfigImage image = FilledImage();
    SetConfigDefaults(image);
    for (const ToolRecord& tool : image.Tools) {
        EXPECT_EQ(tool.Programmed, 0);
    }
    EXPECT_EQ(image.DefaultTolerance, 300);
    EXPECT_EQ(image.DefaultIntensity, 1);
    EXPECT_EQ(image.DefaultAngle, 0);
    EXPECT_EQ(image.ReturnTrvMon, 0);
    EXPECT_EQ(image.Monitoring, 1);
    EXPECT_EQ(image.RotDir, 1);
    EXPECT_EQ(image.PowerOnMove, 1);
    EXPECT_EQ(image.Scanner, 1);
    EXPECT_EQ(image.Out1Polarity, 1);
    EXPECT_EQ(image.Out2Polarity, 1);
    EXPECT_EQ(image.SignalMode, 1);
    for (int32_t word : image.Reserved2) {
        EXPECT_EQ(word, 1);
    }
}

TEST(ConfigDefaults, KeepPulseTimeReservedWordAndEmptySlotValues) {
    ConfigImage image = FilledImage();
    const ConfigImage before = image;
    SetConfigDefaults(image);
    EXPECT_EQ(image.OutPulseTime, before.OutPulseTime);
    EXPECT_EQ(image.Reserved1, before.Reserved1);
    EXPECT_EQ(image.Tools[9].Angle, before.Tools[9].Angle);
    EXPECT_EQ(image.Tools[9].Tolerance, before.Tools[9].Tolerance);
    EXPECT_EQ(image.Tools[9].Intensity, before.Tools[9].Intensity);
}

struct Defaults {
    int32_t Angle;
    int32_t Tolerance;
    int32_t Intensity;
};

Defaults Repaired(Defaults in) {
    ConfigImage image{};
    image.DefaultAngle = in.Angle;
    image.DefaultTolerance = in.Tolerance;
    image.DefaultIntensity = in.Intensity;
    RepairDefaultSettings(image);
    return {image.DefaultAngle, image.DefaultTolerance, image.DefaultIntensity};
}

TEST(DefaultRepair, PlausibleDefaultsStay) {
    for (Defaults d : {Defaults{30000, 20, 5}, Defaults{0, 2550, 0}, Defaults{-5, 20, -1}}) {
        const Defaults out = Repaired(d);
        EXPECT_EQ(out.Angle, d.Angle);
        EXPECT_EQ(out.Tolerance, d.Tolerance);
        EXPECT_EQ(out.Intensity, d.Intensity);
    }
}

TEST(DefaultRepair, AnyImplausibleDefaultReplacesAllThree) {
    // A tolerance byte of 1 from the unit is 10 in the image.
    for (Defaults d : {Defaults{5000, 10, 2}, Defaults{5000, 300, 6}, Defaults{30001, 300, 2},
                       Defaults{5000, -1, 2}}) {
        const Defaults out = Repaired(d);
        EXPECT_EQ(out.Angle, 12000);
        EXPECT_EQ(out.Tolerance, 300);
        EXPECT_EQ(out.Intensity, 1);
    }
}

TEST(ChangeDetection, SnapshotsMatchUntilAnyByteChanges) {
    ConfigState state;
    state.ConfigImage.Tools[5].Programmed = 1;
    TakeSnapshots(state);
    EXPECT_FALSE(DiffersFromSnapshots(state));

    state.ConfigImage.Tools[127].Intensity = 3;
    EXPECT_TRUE(DiffersFromSnapshots(state));
    TakeSnapshots(state);

    // The bytes after a name's terminator are part of the file too.
    state.ToolNameTable[0].Name[79] = 'x';
    EXPECT_TRUE(DiffersFromSnapshots(state));
}

TEST(ChangeDetection, ComparesBytesNotValues) {
    ConfigState state;
    state.ConfigImage.Tools[0].Angle = 0.0F;
    TakeSnapshots(state);
    state.ConfigImage.Tools[0].Angle = -0.0F;
    EXPECT_TRUE(DiffersFromSnapshots(state));

    state.ConfigImage.Tools[0].Angle = std::numeric_limits<float>::quiet_NaN();
    TakeSnapshots(state);
    EXPECT_FALSE(DiffersFromSnapshots(state));
}

} // namespace
} // namespace vg
