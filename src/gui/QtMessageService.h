#pragma once

#include "common/MessageService.h"

class QWidget;

namespace vg {

// Message boxes as QMessageBox, above the window they were opened from.
class QtMessageService : public MessageService {
public:
    MessageResult ShowMessage(const std::string& text, MessageKind kind,
                              MessageButtons buttons) override;
};

} // namespace vg
