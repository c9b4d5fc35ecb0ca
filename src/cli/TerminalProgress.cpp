#include "cli/TerminalProgress.h"

namespace vg::cli {

void TerminalProgress::ShowProgress(const std::string& caption) {
    if (Enabled && Visible) {
        Err << '\n'; // a second stage of the same transfer keeps the first one's line
    }
    Caption = caption;
    Percent = 0;
    Visible = true;
    Draw();
}

void TerminalProgress::SetProgress(int percent) {
    // Each tool sets the bar; only a change is worth a write.
    if (percent != Percent) {
        Percent = percent;
        Draw();
    }
}

void TerminalProgress::HideProgress() {
    if (Enabled && Visible) {
        Err << '\n' << std::flush;
    }
    Visible = false;
}

void TerminalProgress::Draw() {
    if (Enabled && Visible) {
        Err << '\r' << Caption << ' ' << Percent << '%' << std::flush;
    }
}

} // namespace vg::cli
