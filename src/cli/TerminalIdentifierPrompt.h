#pragma once

#include "cli/TerminalMessages.h"
#include "config/transfer/IdentifierPrompt.h"

#include <string>
#include <utility>

namespace vg::cli {

// The identifier window on a terminal: it cannot ask, so it types the identifier given on the
// command line, checked as the window checks its entry. A refused entry is shown once and
// the question that led here is answered No from then on, so it is not asked forever.
class TerminalIdentifierPrompt : public IdentifierPrompt {
public:
    TerminalIdentifierPrompt(std::string entry, TerminalMessages& messages)
        : Entry(std::move(entry)), Messages(messages) {}

    void AskForIdentifier(NamespaceInfo& info, bool& namespaceIdValid) override;

private:
    std::string Entry;
    TerminalMessages& Messages;
};

} // namespace vg::cli
