#pragma once

#include "common/MessageService.h"

#include <ostream>

namespace vg::cli {

// Message boxes on a terminal: errors and warnings go to the error stream, information to
// the output stream. Questions are not asked: they get the answer set beforehand.
class TerminalMessages : public MessageService {
public:
    TerminalMessages(std::ostream& out, std::ostream& err) : Out(out), Err(err) {}

    MessageResult ShowMessage(const std::string& text, MessageKind kind,
                              MessageButtons buttons) override;

    // The answer to every Yes/No(/Cancel) question.
    MessageResult QuestionAnswer = MessageResult::No;
    int ErrorsShown = 0;

private:
    std::ostream& Out;
    std::ostream& Err;
};

} // namespace vg::cli
