#pragma once

#include "config/model/ConfigImage.h"

namespace vg {

// The identifier window: asks for the unit's eight digits. When it returns,
// `namespaceIdValid` tells whether `info.CU_Id` now holds typed digits; `Stamp` is kept.
class IdentifierPrompt {
public:
    virtual ~IdentifierPrompt() = default;
    virtual void AskForIdentifier(NamespaceInfo& info, bool& namespaceIdValid) = 0;
};

} // namespace vg
