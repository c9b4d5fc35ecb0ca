#include "support/ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

namespace vg::test {

pid_t SpawnBuiltProgram(const std::string& name, const std::vector<std::string>& args, int stdinFd,
                        int stdoutFd, int stderrFd) {
    std::vector<std::string> all = {std::string(VG_BIN_DIR) + "/" + name};
    all.insert(all.end(), args.begin(), args.end());
    return SpawnProgram(all, stdinFd, stdoutFd, stderrFd);
}

pid_t SpawnProgram(const std::vector<std::string>& args, int stdinFd, int stdoutFd, int stderrFd) {
    // Everything is prepared before the fork: the child only redirects and executes.
    std::vector<std::string> all = args;
    std::vector<char*> argv;
    for (auto& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int wanted[3] = {stdinFd, stdoutFd, stderrFd};
        for (int target = 0; target < 3; ++target) {
            if (wanted[target] >= 0) {
                dup2(wanted[target], target);
            }
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace vg::test
