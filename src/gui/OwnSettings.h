#pragma once

#include "common/ProgramFolders.h"
#include "common/WriteFailure.h"

#include <string>

namespace vg {

// The windows' own settings, which are no communication settings and so never go into
// Konfig.Cfg: a settings file in the user's configuration folder of the program, whatever
// the mode.
std::string OwnSettingsPath(const UserEnvironment& user);

// Whether a save to the unit is read back and checked; off when nothing is stored.
bool LoadVerifyAfterSave(const std::string& path);
// False when the file could not be written; `failure` names it and the reason.
bool StoreVerifyAfterSave(const std::string& path, bool on, WriteFailure& failure);

} // namespace vg

namespace vg {

// The language the windows speak from the next start: "" for the system's, else a code such
// as "en" or "de".
std::string LoadLanguage(const std::string& path);
// False when the file could not be written; `failure` names it and the reason.
bool StoreLanguage(const std::string& path, const std::string& code, WriteFailure& failure);

} // namespace vg
