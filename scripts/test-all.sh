#!/usr/bin/env bash
# Builds everything and runs every test. Usable on a fresh Debian machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
