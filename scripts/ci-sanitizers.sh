#!/usr/bin/env bash
# CI: the whole suite under AddressSanitizer with UndefinedBehaviorSanitizer (leak checks on),
# then the receive-thread tests under ThreadSanitizer. Each build is its own preset and folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# The window tests need no display; ctest also sets this per test, this covers test discovery.
export QT_QPA_PLATFORM=offscreen

cmake --preset asan
cmake --build --preset asan
# The X server tests show what a window manager does with the windows, not memory errors;
# the debug stage runs them.
ctest --preset asan -LE x11

cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan
