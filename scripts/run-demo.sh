#!/usr/bin/env bash
# Builds VG-Config (the program, vgctl and vigilo-sim) and starts the program against the
# built-in simulated unit (fieldbus mode).
# With --serial, the simulated unit runs as vigilo-sim on a pseudo-terminal linked as COM1 (or
# the COM port the demonstration's settings name), and the program talks to it over the
# serial line.
# The demonstration runs a copy of the program in a folder of its own, build/demo/fieldbus or
# build/demo/serial, with its own Konfig.Cfg (written only when it has none) and CD_DATA: the
# settings and files of build/bin are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vgconfig vgctl vigilo-sim
bin=build/bin

mode=fieldbus
if [ "${1:-}" = "--serial" ]; then
    mode=serial
fi
demo=build/demo/$mode
mkdir -p "$demo/CD_DATA"
cp -f "$bin/vgconfig" "$bin/ROVOZUZ_E.html" "$bin/ROVOZUZ_D.html" "$demo/"
# the windows' translations: German under a de_* locale
cp -rf "$bin/translations" "$demo/"
if [ ! -e "$demo/Konfig.Cfg" ]; then
    if [ "$mode" = serial ]; then
        printf 'A:50\r\nC:1\r\nM:2\r\n' >"$demo/Konfig.Cfg"
    else
        printf 'A:50\r\nC:1\r\nM:1\r\n' >"$demo/Konfig.Cfg"
    fi
fi
echo "Demonstration folder: $demo"

if [ "$mode" = serial ]; then
    # On the COM port the folder's settings name (COM1 unless changed in the program).
    port=$(sed -n 's/^[Cc]:\([1-6]\).*/\1/p' "$demo/Konfig.Cfg")
    "$bin/vigilo-sim" --link "$demo/COM${port:-1}" --pace --demo-tools >/dev/null &
    sim=$!
    trap 'kill $sim 2>/dev/null' EXIT
    sleep 0.5
fi
"$demo/vgconfig"
