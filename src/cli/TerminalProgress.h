#pragma once

#include "common/ProgressView.h"

#include <ostream>
#include <string>

namespace vg::cli {

// The progress window on a terminal: one line that is rewritten in place. When the stream is
// not a terminal nothing is written, so scripts get no carriage returns in their logs.
class TerminalProgress : public ProgressView {
public:
    TerminalProgress(std::ostream& err, bool enabled) : Err(err), Enabled(enabled) {}

    void ShowProgress(const std::string& caption) override;
    void SetProgress(int percent) override;
    void HideProgress() override;

private:
    void Draw();

    std::ostream& Err;
    bool Enabled;
    bool Visible = false;
    std::string Caption;
    int Percent = 0;
};

} // namespace vg::cli
