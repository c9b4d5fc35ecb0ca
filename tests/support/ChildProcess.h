#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vg::test {

// Starts `argv[0]` (a path, or a name looked up in PATH) as a child process, its standard
// input, output and error on the given descriptors (-1 keeps the test's own). The pid, or -1.
pid_t SpawnProgram(const std::vector<std::string>& argv, int stdinFd, int stdoutFd, int stderrFd);

// Starts a program of this build (vgctl, vigilo-sim) as a child process, its standard input,
// output and error on the given descriptors (-1 keeps the test's own). The pid, or -1.
pid_t SpawnBuiltProgram(const std::string& name, const std::vector<std::string>& args, int stdinFd,
                        int stdoutFd, int stderrFd);

// Waits for the child; its exit status, or -1 when it did not exit normally.
int WaitForExit(pid_t pid);

} // namespace vg::test
