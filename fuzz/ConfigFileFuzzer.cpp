// A .CD file from anywhere: loaded beside a valid name file, shown as tool lines and printed
// as the report, then saved and loaded again.

#include "FuzzSupport.h"
#include "config/files/ConfigFile.h"
#include "config/files/NamespaceFile.h"
#include "config/model/ConfigState.h"
#include "config/model/TextFormats.h"
#include "config/report/ReportLayout.h"
#include "config/report/TextGridCanvas.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

using namespace vg;

namespace {

// Names for every slot, some of them using all 80 bytes without a terminator.
std::string NameFileBytes() {
    ToolNameTable names{};
    for (size_t n = 0; n < names.size(); ++n) {
        names[n].Defined = n % 3 == 0 ? 0 : 1;
        names[n].Name.fill(static_cast<char>('a' + n % 26));
        if (n % 2 == 0) {
            names[n].Name[n % ToolNameSize] = '\0';
        }
    }
    return {reinterpret_cast<const char*>(names.data()), sizeof names};
}

bool SameBytes(const ConfigImage& a, const ConfigImage& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBytes(const ToolNameTable& a, const ToolNameTable& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::PutFile(fuzz::ScratchDir() + "VGL_00001234.NS", NameFileBytes());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::ScratchDir() + "VGL_00001234.CD";
    fuzz::PutFile(path, {reinterpret_cast<const char*>(data), size});

    auto state = std::make_unique<ConfigState>();
    InitConfigState(*state);
    fuzz::CountingMessages messages;
    ErrorCode error = 0;
    const bool loaded = LoadConfigFile(*state, path, error, messages);
    const bool accepted =
        size == ConfigFileSize || size == ConfigFileSize32 || size == ConfigFileSize256;
    FUZZ_CHECK(loaded == accepted);
    FUZZ_CHECK(loaded ? error == 0 : error == TransferCode::ParameterFile);
    FUZZ_CHECK(messages.Shown == (loaded ? 0 : 1));
    FUZZ_CHECK(state->NamespaceIdValid);
    FUZZ_CHECK(!DiffersFromSnapshots(*state));

    // Every programmed slot has its line, and the line names its slot.
    size_t programmed = 0;
    for (int n = 0; n < ToolSlotCount; ++n) {
        const int line = state->ToolLineIndex[static_cast<size_t>(n)];
        if (state->ConfigImage.Tools[static_cast<size_t>(n)].Programmed == 0) {
            FUZZ_CHECK(line == -1);
            continue;
        }
        ++programmed;
        FUZZ_CHECK(ToolNumberOfLine(*state, line) == n);
    }
    FUZZ_CHECK(state->ToolLines.size() == programmed);

    state->ConfigSource = ConfigSource::File;
    state->ConfigFileName = path;
    TextGridCanvas canvas;
    fuzz::SilentBusyBox busy;
    FUZZ_CHECK(PrintReport(*state, state->ConfigImage, canvas, busy, "07.12.2026 08:00:00"));
    FUZZ_CHECK(busy.Open == 0 && !state->TransferBusy);
    FUZZ_CHECK(fuzz::ReportHasToolLines(canvas, state->ToolLines));

    if (loaded) {
        // What was loaded survives a save and a second load unchanged.
        const std::string copy = fuzz::ScratchDir() + "VGL_00004321.CD";
        ErrorCode writeError = 0;
        FUZZ_CHECK(WriteConfigFile(*state, copy, writeError));
        auto reloaded = std::make_unique<ConfigState>();
        InitConfigState(*reloaded);
        FUZZ_CHECK(LoadConfigFile(*reloaded, copy, error, messages));
        FUZZ_CHECK(SameBytes(reloaded->ConfigImage, state->ConfigImage));
        FUZZ_CHECK(SameBytes(reloaded->ToolNameTable, state->ToolNameTable));
        FUZZ_CHECK(reloaded->ToolLines == state->ToolLines);
    }
    return 0;
}
