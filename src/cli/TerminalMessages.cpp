#include "cli/TerminalMessages.h"

namespace vg::cli {

MessageResult TerminalMessages::ShowMessage(const std::string& text, MessageKind kind,
                                            MessageButtons buttons) {
    if (kind == MessageKind::Error) {
        ++ErrorsShown;
    }
    std::ostream& stream = kind == MessageKind::Information ? Out : Err;
    stream << text << '\n';
    if (buttons == MessageButtons::Ok) {
        return MessageResult::Ok;
    }
    stream << (QuestionAnswer == MessageResult::Yes ? "-> Yes" : "-> No") << '\n';
    return QuestionAnswer;
}

} // namespace vg::cli
