#include "cli/TerminalIdentifierPrompt.h"

#include "config/files/NamespaceFile.h"

namespace vg::cli {

void TerminalIdentifierPrompt::AskForIdentifier(NamespaceInfo& info, bool& namespaceIdValid) {
    if (AcceptCuIdEntry(Entry, info, namespaceIdValid)) {
        return;
    }
    Messages.ShowMessage(std::string(CuIdEntryErrorText), MessageKind::Error, MessageButtons::Ok);
    Messages.QuestionAnswer = MessageResult::No;
}

} // namespace vg::cli
