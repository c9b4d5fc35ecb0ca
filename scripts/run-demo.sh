#!/usr/bin/env bash
# Builds VG-Config and starts it against the built-in simulated unit (fieldbus mode).
# With --serial, the simulated unit runs as vigilo-sim on a pseudo-terminal linked as COM1 in
# the program's directory, and the program talks to it over the serial line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vgconfig vigilo-sim
bin=build/bin

if [ "${1:-}" = "--serial" ]; then
    printf 'A:50\r\nC:1\r\nM:2\r\n' > "$bin/Konfig.Cfg"
    "$bin/vigilo-sim" --link "$bin/COM1" --pace --demo-tools > /dev/null &
    sim=$!
    trap 'kill $sim 2>/dev/null' EXIT
    sleep 0.5
else
    # Fieldbus mode is the built-in simulated unit.
    if [ -f "$bin/Konfig.Cfg" ] && grep -qi '^m:2' "$bin/Konfig.Cfg"; then
        printf 'A:50\r\nC:1\r\nM:1\r\n' > "$bin/Konfig.Cfg"
    fi
fi
mkdir -p "$bin/CD_DATA"
"$bin/vgconfig"
