#pragma once

#include <string>

namespace vg {

// The progress window shown (not modal) while a transfer talks to the unit.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void ShowProgress(const std::string& caption) = 0;
    virtual void SetProgress(int percent) = 0; // 0..100
    virtual void HideProgress() = 0;
};

} // namespace vg
