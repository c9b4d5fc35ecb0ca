#pragma once

#include <string>

namespace vg {

enum class MessageKind { Error, Warning, Information, Confirmation };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageResult { Ok, Yes, No, Cancel };

// Every failure, question and success reaches the user through one modal box.
// The windows show a QMessageBox, the command line prints, tests answer from a script.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageResult ShowMessage(const std::string& text, MessageKind kind,
                                      MessageButtons buttons) = 0;
};

} // namespace vg
