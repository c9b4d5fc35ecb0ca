#!/usr/bin/env bash
# Takes docs/main-window.png: the program of the package build, in a folder of its own in
# fieldbus mode (the built-in simulated unit), under Xvfb with openbox, its window with the
# frame. Build first: cmake --preset package && cmake --build --preset package
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build-package/bin
work=$(mktemp -d /tmp/vg-screenshot-XXXXXX)
mkdir "$work/CD_DATA"
cp "$bin/vgconfig" "$bin/ROVOZUZ_E.html" "$work/"
printf 'A:50\r\nC:1\r\nM:1\r\n' >"$work/Konfig.Cfg"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $program $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
program="" wm=""
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1
(cd "$work" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec ./vgconfig) >/dev/null 2>&1 &
program=$!
window=""
for _ in $(seq 50); do
    window=$(DISPLAY=$display xdotool search --name '^VG-Config' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "no window"; exit 1; }
sleep 3 # online, and painted
DISPLAY=$display import -frame -window "$window" -strip docs/main-window.png
echo "docs/main-window.png from window $window"
