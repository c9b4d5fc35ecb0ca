#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

namespace vg::test {

ScriptedMessages::~ScriptedMessages() {
    for (const auto& left : Pending) {
        ADD_FAILURE() << "expected message box never appeared: \"" << left.Text << "\"";
    }
}

void ScriptedMessages::Expect(std::string text, MessageResult answer) {
    Pending.push_back({std::move(text), answer});
}

MessageResult ScriptedMessages::ShowMessage(const std::string& text, MessageKind kind,
                                            MessageButtons buttons) {
    Seen.push_back({text, kind, buttons});
    if (Pending.empty()) {
        if (!AcceptAny) {
            ADD_FAILURE() << "unexpected message box: \"" << text << "\"";
        }
        return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Yes;
    }
    Expectation next = Pending.front();
    Pending.pop_front();
    EXPECT_EQ(next.Text, text);
    return next.Answer;
}

} // namespace vg::test
