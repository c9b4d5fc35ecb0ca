#pragma once

#include "common/MessageService.h"

#include <deque>
#include <string>
#include <vector>

namespace vg::test {

// Message boxes answered from a script. A box nobody expected, or an expectation left
// unused when the object goes away, fails the running test.
class ScriptedMessages : public MessageService {
public:
    struct Shown {
        std::string Text;
        MessageKind Kind;
        MessageButtons Buttons;
    };

    ~ScriptedMessages() override;

    // The next box must show exactly this text; it is answered with `answer`.
    void Expect(std::string text, MessageResult answer = MessageResult::Ok);
    // Boxes of any text are accepted and answered with Ok/Yes from now on.
    void AcceptAll() { AcceptAny = true; }

    MessageResult ShowMessage(const std::string& text, MessageKind kind,
                              MessageButtons buttons) override;

    const std::vector<Shown>& History() const { return Seen; }
    bool AllAnswered() const { return Pending.empty(); }

private:
    struct Expectation {
        std::string Text;
        MessageResult Answer;
    };
    std::deque<Expectation> Pending;
    std::vector<Shown> Seen;
    bool AcceptAny = false;
};

} // namespace vg::test
