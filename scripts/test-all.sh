#!/usr/bin/env bash
# Builds everything and runs every test. Usable on a fresh Debian machine.
# The build is the Release configuration the Debian package is made from (warnings are
# errors), so what is tested is what ships; the sanitizer builds of CI are debug builds, and
# the `default` preset is the debug build for working on the code.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset package
cmake --build --preset package
ctest --preset package
