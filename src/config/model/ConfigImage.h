#pragma once

#include "link/DeviceMessage.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace vg {

// These records are also the bytes of the .CD and .NS files and of the unit's namespace block.
// They are read and written as raw bytes, which is only correct on a little-endian host with
// IEEE single-precision floats.
static_assert(std::endian::native == std::endian::little, "file records are little-endian");
static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4);

constexpr int ToolSlotCount = 128;

struct ToolRecord {
    int32_t Programmed; // 1 programmed, 0 empty slot
    float Angle;        // degrees
    float Tolerance;    // degrees
    int32_t Intensity;  // 0 Ultra-Low, 1 Low, 2 Medium, 3 High
};

struct ConfigImage {
    int32_t ReturnTrvMon;
    int32_t Monitoring;
    int32_t RotDir;
    int32_t PowerOnMove;
    int32_t Scanner;
    int32_t Out1Polarity;
    int32_t Out2Polarity;
    int32_t DefaultAngle;     // hundredths of a degree
    int32_t DefaultTolerance; // hundredths of a degree
    int32_t DefaultIntensity;
    int32_t Reserved1;
    int32_t SignalMode;
    int32_t OutPulseTime; // ms, 0 static outputs
    std::array<int32_t, 6> Reserved2;
    std::array<ToolRecord, ToolSlotCount> Tools;
};

constexpr size_t ToolNameSize = 80;

struct ToolNameRecord {
    int32_t Defined;
    // Windows-1252 bytes, normally zero-terminated; a file written elsewhere may fill all 80.
    std::array<char, ToolNameSize> Name;
};

using ToolNameTable = std::array<ToolNameRecord, ToolSlotCount>;

constexpr size_t CuIdLength = 8;

struct NamespaceInfo {
    std::array<char, CuIdLength> CU_Id; // eight ASCII digits, no terminator
    std::array<uint16_t, 6> Stamp;      // year, month, day, hour, minute, second
};

struct FirmwareInfo {
    uint8_t DeviceVariant;
    uint8_t FwDate2;
    uint8_t FwDate1;
    uint8_t FwDate3;
    uint8_t FwMinor;
    uint8_t FwMajor;
};

// The natural layout has no padding, so no packing pragma is needed and the fields stay
// aligned; these asserts hold the layout to the file format.
static_assert(sizeof(ToolRecord) == 16);
static_assert(offsetof(ToolRecord, Angle) == 4 && offsetof(ToolRecord, Tolerance) == 8 &&
              offsetof(ToolRecord, Intensity) == 12);
static_assert(sizeof(ConfigImage) == 2124);
static_assert(offsetof(ConfigImage, Monitoring) == 4 && offsetof(ConfigImage, RotDir) == 8 &&
              offsetof(ConfigImage, PowerOnMove) == 12 && offsetof(ConfigImage, Scanner) == 16 &&
              offsetof(ConfigImage, Out1Polarity) == 20 &&
              offsetof(ConfigImage, Out2Polarity) == 24 &&
              offsetof(ConfigImage, DefaultAngle) == 28 &&
              offsetof(ConfigImage, DefaultTolerance) == 32 &&
              offsetof(ConfigImage, DefaultIntensity) == 36 &&
              offsetof(ConfigImage, Reserved1) == 40 && offsetof(ConfigImage, SignalMode) == 44 &&
              offsetof(ConfigImage, OutPulseTime) == 48 && offsetof(ConfigImage, Reserved2) == 52 &&
              offsetof(ConfigImage, Tools) == 76);
static_assert(sizeof(ToolNameRecord) == 84 && offsetof(ToolNameRecord, Name) == 4);
static_assert(sizeof(ToolNameTable) == 10752);
static_assert(sizeof(NamespaceInfo) == 20 && offsetof(NamespaceInfo, Stamp) == 8);
static_assert(sizeof(FirmwareInfo) == 6 && offsetof(FirmwareInfo, FwMajor) == 5);

// The defaults set before a configuration file is read; they are the new configuration when
// the file does not exist. Reserved1 and OutPulseTime are left as they are.
void SetConfigDefaults(ConfigImage& image);

// After the global parameters came from the unit: implausible defaults are replaced together.
void RepairDefaultSettings(ConfigImage& image);

// Number of tool slots the unit of this variant exchanges.
uint8_t ToolCapacityOf(uint8_t deviceVariant);

// FwMajor x 100 + FwMinor, so 1.03 is 103.
int FirmwareVersionNumber(const FirmwareInfo& info);

// Unit numbers <-> tool record: angle word in hundredths, tolerance byte in tenths.
float AngleFromWord(uint16_t word);
float ToleranceFromByte(uint8_t tenths);
uint16_t AngleToWord(float angle);
uint8_t ToleranceToByte(float tolerance);

// A request that carries a tool's values (write, go to position, start): byte 2 the low byte
// of the intensity, byte 3 the tolerance in tenths, bytes 4-5 the angle in hundredths, all
// converted as for the download. The code and byte 0 are the caller's.
DeviceRequest ToolValuesRequest(uint8_t code, const ToolRecord& tool);

} // namespace vg
