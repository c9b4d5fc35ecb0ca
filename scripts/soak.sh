#!/usr/bin/env bash
# Soak run (not part of CI): the program's windows poll the paced simulated unit for at least
# ten minutes while its status changes every 400 ms and it falls silent for 5 s every minute.
# Usage: scripts/soak.sh [SECONDS]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target soak_run
if command -v xvfb-run >/dev/null; then
    xvfb-run -a build-release/bin/soak_run "${1:-600}"
else
    QT_QPA_PLATFORM=offscreen build-release/bin/soak_run "${1:-600}"
fi
