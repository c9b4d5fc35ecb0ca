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

// For work nobody watches: a backup of the gateway, a benchmark.
class NoProgress : public ProgressView {
public:
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
};

} // namespace vg
