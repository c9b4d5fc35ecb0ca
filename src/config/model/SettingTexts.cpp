#include "config/model/SettingTexts.h"

#include "config/model/TextFormats.h"

#include <array>

namespace vg {

namespace {

constexpr std::array<const char*, 4> IntensityNames = {"Ultra-Low", "Low", "Medium", "High"};
constexpr std::array<const char*, 2> PolarityNames = {"N/C Normally Closed", "N/O Normally Open"};
constexpr std::array<const char*, 2> ActiveNames = {"Inactive", "Active"};

template <size_t N> std::string TableText(const std::array<const char*, N>& table, int32_t value) {
    if (value < 0 || static_cast<size_t>(value) >= N) {
        return "Unknown";
    }
    return table[static_cast<size_t>(value)];
}

std::string PulseTimeText(int32_t ms) {
    return std::to_string(ms);
}

std::string SignalModeText(int32_t mode) {
    return mode != 0 ? "at Home Position" : "at Offset Position";
}

std::string MonitoringText(int32_t monitoring) {
    return monitoring != 0 ? "Object" : "Free Space";
}

std::string RotationText(int32_t direction) {
    return direction != 0 ? "Clockwise" : "Counter-Clockwise";
}

const ReportSetting GlobalSettings[] = {
    {"Scanner", &ConfigImage::Scanner, ScannerText},
    {"Out1", &ConfigImage::Out1Polarity, PolarityName},
    {"Out2", &ConfigImage::Out2Polarity, PolarityName},
    {"Out Pulse Time [msec]", &ConfigImage::OutPulseTime, PulseTimeText},
    {"Return Travel Monitoring", &ConfigImage::ReturnTrvMon, ActiveName},
    {"Signal Mode", &ConfigImage::SignalMode, SignalModeText},
    {"Monitoring", &ConfigImage::Monitoring, MonitoringText},
    {"Rotation Direction", &ConfigImage::RotDir, RotationText},
    {"Power On Move", &ConfigImage::PowerOnMove, ActiveName},
};

const ReportSetting DefaultSettings[] = {
    {"Default Angle", &ConfigImage::DefaultAngle, HundredthsText},
    {"Default Tolerance", &ConfigImage::DefaultTolerance, HundredthsText},
    {"Default Intensity", &ConfigImage::DefaultIntensity, IntensityName},
};

} // namespace

std::span<const ReportSetting> GlobalReportSettings() {
    return GlobalSettings;
}

std::span<const ReportSetting> DefaultReportSettings() {
    return DefaultSettings;
}

std::string ScannerText(int32_t scanner) {
    return scanner == 1 ? "RZ41" : scanner == 2 ? "RZ42" : "Unknown";
}

std::string IntensityName(int32_t intensity) {
    return TableText(IntensityNames, intensity);
}

std::string PolarityName(int32_t polarity) {
    return TableText(PolarityNames, polarity);
}

std::string ActiveName(int32_t active) {
    return TableText(ActiveNames, active);
}

} // namespace vg
