#include "link/CommSettingsFile.h"

#include "common/FileIo.h"
#include "config/AsciiText.h"

#include <cstdio>
#include <limits>
#include <memory>
#include <string_view>

namespace vg {

namespace {

// A value that is not a number, or does not fit an int, leaves the setting; otherwise the
// 16-bit setting takes its low bits, as an int assigned to it would.
void ApplyNumber(std::string_view text, uint16_t& setting) {
    long long value = 0;
    if (ParseLeadingInt(text, value) && value >= std::numeric_limits<int>::min() &&
        value <= std::numeric_limits<int>::max()) {
        setting = static_cast<uint16_t>(value);
    }
}

void ApplyLine(std::string_view line, CommSettings& settings) {
    if (line.size() < 3 || line[0] == ';' || line[1] != ':') {
        return;
    }
    const char key = AsciiUpper(line[0]);
    if (key == 'A') {
        ApplyNumber(line.substr(2), settings.DevAddr);
    } else if (key == 'C') {
        ApplyNumber(line.substr(2), settings.ComPortNr);
    } else if (key == 'M') {
        settings.CommMode = line[2] == '2' ? CommModeSerial : CommModeFieldbus;
    }
}

} // namespace

bool Cfg_Read(CommSettings& settings, const std::string& programDir) {
    settings.CommMode = CommModeFieldbus;
    UniqueFd fd = OpenForReading(ExistingPathIgnoringCase(programDir + CommSettingsFileName));
    if (!fd.IsOpen()) {
        return false;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(fd.Get(), "rb"),
                                                               &std::fclose);
    if (!file) {
        return false;
    }
    fd.Release(); // the stream closes it now
    // At most 99 characters per read: a longer line is judged piece by piece, and a zero
    // byte ends what is judged.
    char line[100];
    while (std::fgets(line, sizeof line, file.get()) != nullptr) {
        ApplyLine(line, settings);
    }
    return true;
}

bool Cfg_Write(const CommSettings& settings, const std::string& programDir) {
    const std::string text = "A:" + std::to_string(settings.DevAddr) + "\r\n" +
                             "C:" + std::to_string(settings.ComPortNr) + "\r\n" +
                             "M:" + std::to_string(settings.CommMode) + "\r\n";
    return ReplaceFileContents(ExistingPathIgnoringCase(programDir + CommSettingsFileName), text);
}

} // namespace vg
