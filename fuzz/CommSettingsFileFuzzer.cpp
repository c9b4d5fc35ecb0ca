// Konfig.Cfg as any editor or any other program may have left it.

#include "FuzzSupport.h"
#include "link/CommSettings.h"
#include "link/CommSettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace vg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = fuzz::ScratchDir();
    fuzz::PutFile(dir + CommSettingsFileName, {reinterpret_cast<const char*>(data), size});

    CommSettings settings;
    settings.ComPortNr = 3;
    settings.DevAddr = 77;
    FUZZ_CHECK(ReadCommSettings(settings, dir));
    FUZZ_CHECK(settings.Mode == CommMode::Serial || settings.Mode == CommMode::Fieldbus);

    // What was read is what the dialog would save; saving and reading it again changes
    // nothing.
    FUZZ_CHECK(WriteCommSettings(settings, dir));
    CommSettings again;
    again.ComPortNr = static_cast<uint16_t>(settings.ComPortNr + 1);
    again.DevAddr = static_cast<uint16_t>(settings.DevAddr + 1);
    FUZZ_CHECK(ReadCommSettings(again, dir));
    FUZZ_CHECK(again.ComPortNr == settings.ComPortNr);
    FUZZ_CHECK(again.DevAddr == settings.DevAddr);
    FUZZ_CHECK(again.Mode == settings.Mode);
    FUZZ_CHECK(again.DriverPath == settings.DriverPath);
    return 0;
}
