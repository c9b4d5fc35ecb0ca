#!/usr/bin/env bash
# Builds everything and runs every test. Usable on a fresh Debian machine.
# The build is the optimised Release configuration with prefix /usr (warnings are errors), the
# one closest to what ships (dpkg-buildpackage builds the same source with the distribution's
# flags); the sanitizer builds of CI are debug builds, and the `default` preset is the debug
# build for working on the code.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset package
cmake --build --preset package
ctest --preset package
