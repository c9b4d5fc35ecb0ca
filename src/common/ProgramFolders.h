#pragma once

#include <string>
#include <sys/types.h>

namespace vg {

// Where the program keeps its files. A copy that may write its own folder (a build folder, an
// unpacked archive) keeps everything beside itself; an installed one keeps the user's
// settings and configurations in the user's folders, as a desktop program should. Every
// folder ends with '/'.
struct ProgramFolders {
    std::string Program;  // the executable's folder
    std::string Settings; // Konfig.Cfg and the COMn links
    std::string Data;     // the folder that holds CD_DATA
    std::string Shared;   // what the installation ships beside the executable's folder
    bool Portable = true;
};

// The user's folders as the environment names them; empty when a variable is unset.
struct UserEnvironment {
    std::string Home;
    std::string ConfigHome; // XDG_CONFIG_HOME
    std::string DataHome;   // XDG_DATA_HOME

    static UserEnvironment OfThisProcess();
};

// Everything in `programDir`, whatever may be written there.
ProgramFolders PortableFolders(const std::string& programDir);

// Portable when `programDir` is writable and not part of an installation (no shared folder
// beside it); otherwise Konfig.Cfg and the COMn links go to $XDG_CONFIG_HOME/vg-config/ and
// CD_DATA to $XDG_DATA_HOME/vg-config/ (defaults ~/.config and ~/.local/share).
ProgramFolders FoldersFor(const std::string& programDir, const UserEnvironment& user);

// The user's configuration folder of the program, $XDG_CONFIG_HOME/vg-config/ (default
// ~/.config/vg-config/), whatever the mode: the windows keep their own settings there.
std::string UserSettingsFolder(const UserEnvironment& user);

// The folders of the running executable.
ProgramFolders RunningProgramFolders();

// The directory of the running executable, ending with '/'.
std::string ExecutableDirectory();

// Creates `folder` and its missing parents with `mode` (the umask applies). True when it
// exists afterwards; otherwise errno tells why.
bool MakeFolders(const std::string& folder, mode_t mode);

// The user's own folders are private, as the XDG rules ask of a folder a program creates.
constexpr mode_t PrivateFolderMode = 0700;

} // namespace vg
