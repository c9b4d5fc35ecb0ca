#!/usr/bin/env bash
# CI: every C and C++ file as clang-format writes it, and clang-tidy's checks (.clang-tidy)
# on everything below the windows; any finding fails. Uses the compile commands of the build
# that scripts/test-all.sh made (build-package), configuring it when it is not there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

echo "== clang-format"
git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format --dry-run --Werror

echo "== clang-tidy"
[ -f build-package/compile_commands.json ] || cmake --preset package >/dev/null
git ls-files -z 'src/common/*.cpp' 'src/link/*.cpp' 'src/config/*.cpp' 'src/status/*.cpp' \
    'src/session/*.cpp' 'src/sim/*.cpp' 'src/cli/*.cpp' 'src/gateway/*.cpp' |
    xargs -0 -P "$(nproc)" -n 4 clang-tidy -p build-package --quiet
echo "lint: ok"
