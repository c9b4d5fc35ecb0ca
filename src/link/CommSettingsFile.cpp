#include "link/CommSettingsFile.h"

#include "common/AsciiText.h"
#include "common/FileIo.h"

#include <cerrno>
#include <climits>
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

// At most 99 characters, up to and with a line end, as a read with a buffer of 100 takes
// them; empty at the end of the file.
std::string ReadPiece(std::FILE* file) {
    std::string piece;
    int c = 0;
    while (piece.size() < 99 && (c = std::getc(file)) != EOF) {
        piece.push_back(static_cast<char>(c));
        if (c == '\n') {
            break;
        }
    }
    return piece;
}

bool EndsLine(const std::string& piece) {
    return !piece.empty() && piece.back() == '\n';
}

// What is judged of a piece: a zero byte ends it.
std::string_view Judged(const std::string& piece) {
    return {piece.c_str()};
}

bool IsDriverLine(std::string_view line) {
    return line.size() >= 3 && line[1] == ':' && AsciiUpper(line[0]) == 'D';
}

// A driver's path may be longer than a piece: its line is taken whole, up to the line end,
// as long as it can be a path at all. False (the setting left) for a longer line, which is
// read to its end but not kept: a file of one huge line must not fill the memory.
bool ApplyDriverLine(std::string line, std::FILE* file, CommSettings& settings) {
    constexpr size_t Longest = PATH_MAX + 4; // "D:", the path, CR LF
    bool tooLong = false;
    while (!EndsLine(line)) {
        const std::string more = ReadPiece(file);
        if (more.empty()) {
            break;
        }
        if (!tooLong && line.size() + more.size() > Longest) {
            tooLong = true;
        }
        if (tooLong) {
            line = more; // only the end of the line is looked for
        } else {
            line += more;
        }
    }
    if (tooLong) {
        return false;
    }
    std::string_view value = Judged(line).substr(2);
    if (!value.empty() && value.back() == '\n') {
        value.remove_suffix(1);
    }
    if (!value.empty() && value.back() == '\r') {
        value.remove_suffix(1);
    }
    settings.DriverPath = value;
    return true;
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
        settings.Mode = line[2] == '2' ? CommMode::Serial : CommMode::Fieldbus;
    }
}

} // namespace

bool ReadCommSettings(CommSettings& settings, const std::string& programDir, std::string* problem) {
    settings.Mode = CommMode::Fieldbus;
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
    // A line longer than a piece is judged piece by piece, but for the driver's line, which
    // is a path.
    int lineNumber = 1;
    for (std::string piece = ReadPiece(file.get()); !piece.empty(); piece = ReadPiece(file.get())) {
        if (IsDriverLine(Judged(piece))) {
            if (!ApplyDriverLine(piece, file.get(), settings) && problem != nullptr) {
                *problem = "line " + std::to_string(lineNumber) +
                           ": the driver's path is longer than a path can be; the line is "
                           "ignored";
            }
            ++lineNumber;
        } else {
            ApplyLine(Judged(piece), settings);
            lineNumber += EndsLine(piece) ? 1 : 0;
        }
    }
    return true;
}

bool WriteCommSettings(const CommSettings& settings, const std::string& programDir) {
    // A line end in the path would end its line and start another setting.
    if (settings.DriverPath.find_first_of(std::string("\n\0", 2)) != std::string::npos) {
        errno = EINVAL;
        return false;
    }
    std::string text = "A:" + std::to_string(settings.DevAddr) + "\r\n" +
                       "C:" + std::to_string(settings.ComPortNr) + "\r\n" +
                       "M:" + std::to_string(static_cast<int>(settings.Mode)) + "\r\n";
    if (!settings.DriverPath.empty()) {
        text.append("D:").append(settings.DriverPath).append("\r\n");
    }
    return ReplaceFileContents(ExistingPathIgnoringCase(programDir + CommSettingsFileName), text);
}

} // namespace vg
