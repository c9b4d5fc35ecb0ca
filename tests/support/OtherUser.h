#pragma once

#include <functional>
#include <sys/types.h>

namespace vg::test {

// The user and group "nobody": a user that owns nothing the test made.
constexpr uid_t NobodyId = 65534;

// True when the test may make files of other users and run code as one (it runs as root).
bool CanActAsOtherUser();

// Runs `body` in a forked child as user and group nobody, without supplementary groups, and
// returns what it returned (or -1 when the child did not get that far). The child is a copy
// of the test: it must not use test assertions; it returns 0 on success and otherwise the
// number of the check that failed.
int RunAsNobody(const std::function<int()>& body);

} // namespace vg::test
