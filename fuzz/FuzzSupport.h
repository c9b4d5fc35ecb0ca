#pragma once

// Shared by the fuzz targets: a check that stops the run even in a build without asserts, a
// scratch directory per process for the loaders that only read files, and quiet stand-ins
// for the services through which the core reaches the user.

#include "common/BusyBox.h"
#include "common/MessageService.h"
#include "config/report/TextGridCanvas.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// A broken property is reported like a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace vg::fuzz {

// A directory of this process (tmpfs when there is one, so that the loaders' files and the
// writers' fsync cost next to nothing), removed when the process ends. Ends with '/'.
const std::string& ScratchDir();

// Gives `path` exactly `bytes`; aborts when that fails, since nothing after it would mean
// anything.
void PutFile(const std::string& path, std::string_view bytes);

// Whether the report shows every tool line, in order, each on a row of its own after
// nothing but blanks.
bool ReportHasToolLines(const TextGridCanvas& canvas, const std::vector<std::string>& lines);

// Counts the boxes the core would show; every answer is the first button.
class CountingMessages : public MessageService {
public:
    MessageResult ShowMessage(const std::string& text, MessageKind kind,
                              MessageButtons buttons) override;
    int Shown = 0;
    std::string LastText;
};

class SilentBusyBox : public BusyBox {
public:
    void ShowBusyBox(const std::string&, const std::string&) override { ++Open; }
    void HideBusyBox() override { --Open; }
    int Open = 0;
};

} // namespace vg::fuzz
