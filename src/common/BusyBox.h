#pragma once

#include <string>

namespace vg {

// The non-modal "please wait" notice shown while a long synchronous job runs. The windows
// show a small dialog, the command line may print or do nothing.
class BusyBox {
public:
    virtual ~BusyBox() = default;
    virtual void ShowBusyBox(const std::string& caption, const std::string& message) = 0;
    virtual void HideBusyBox() = 0;
};

} // namespace vg
