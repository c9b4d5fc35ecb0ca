// A .NS file from anywhere, beside a configuration with every slot programmed so that every
// name reaches a tool line and the report.

#include "FuzzSupport.h"
#include "config/files/ConfigFile.h"
#include "config/files/NamespaceFile.h"
#include "config/model/ConfigState.h"
#include "config/model/TextFormats.h"
#include "config/report/ReportLayout.h"
#include "config/report/TextGridCanvas.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

using namespace vg;

namespace {

std::string ConfigFileBytes() {
    ConfigImage image{};
    SetConfigDefaults(image);
    for (size_t n = 0; n < image.Tools.size(); ++n) {
        image.Tools[n] = {1, static_cast<float>(n) * 2.5F, 1.5F, static_cast<int32_t>(n % 4)};
    }
    return {reinterpret_cast<const char*>(&image), sizeof image};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::PutFile(fuzz::ScratchDir() + "VGL_00001234.CD", ConfigFileBytes());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string cdPath = fuzz::ScratchDir() + "VGL_00001234.CD";
    fuzz::PutFile(fuzz::ScratchDir() + "VGL_00001234.NS",
                  {reinterpret_cast<const char*>(data), size});
    const bool legal = size == ToolNamesFileSize || size == ToolNamesFileSize32;

    // The names alone, over a table a previous configuration left full.
    fuzz::CountingMessages messages;
    {
        ToolNameTable names{};
        for (ToolNameRecord& record : names) {
            record.Defined = 1;
        }
        ErrorCode error = 0;
        FUZZ_CHECK(LoadToolNames(names, cdPath, error, messages) == legal);
        FUZZ_CHECK(legal ? error == 0 : error == TransferCode::NamespaceFile);
        FUZZ_CHECK(messages.Shown == (legal ? 0 : 1));
        // Records beyond what the file holds must not keep the old configuration's names.
        const size_t touched =
            (std::min(size, sizeof(ToolNameTable)) + sizeof(ToolNameRecord) - 1) /
            sizeof(ToolNameRecord);
        for (size_t n = touched; n < names.size(); ++n) {
            FUZZ_CHECK(names[n].Defined == 0);
        }
    }

    // The names with their configuration: an illegal name file does not fail the load.
    auto state = std::make_unique<ConfigState>();
    InitConfigState(*state);
    ErrorCode error = 0;
    FUZZ_CHECK(LoadConfigFile(*state, cdPath, error, messages));
    FUZZ_CHECK(error == 0);
    FUZZ_CHECK(state->ToolLines.size() == static_cast<size_t>(ToolSlotCount));
    for (int n = 0; n < ToolSlotCount; ++n) {
        const std::string& line =
            state->ToolLines[static_cast<size_t>(state->ToolLineIndex[static_cast<size_t>(n)])];
        const ToolNameRecord& record = state->ToolNameTable[static_cast<size_t>(n)];
        const std::string name = record.Defined != 0 ? ToolNameText(record) : std::string();
        FUZZ_CHECK(name.size() <= ToolNameSize);
        // The line ends with the name, cut to the limit.
        const std::string shown = name.substr(0, ToolLineNameLimit);
        FUZZ_CHECK(line.size() >= shown.size() &&
                   line.compare(line.size() - shown.size(), shown.size(), shown) == 0);
        FUZZ_CHECK(ToolNumberOfLine(*state, state->ToolLineIndex[static_cast<size_t>(n)]) == n);
    }

    state->ConfigSource = ConfigSource::Unit;
    TextGridCanvas canvas(40);
    fuzz::SilentBusyBox busy;
    FUZZ_CHECK(PrintReport(*state, state->ConfigImage, canvas, busy, "07.12.2026 08:00:00"));
    FUZZ_CHECK(fuzz::ReportHasToolLines(canvas, state->ToolLines));
    return 0;
}
