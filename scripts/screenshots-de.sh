#!/usr/bin/env bash
# German screenshots of the windows: vgconfig of BIN in a folder of its own, fieldbus mode
# (built-in simulated unit), LANG=de_DE.UTF-8, under Xvfb with openbox; shots of the whole
# screen into OUT, driven by the windows' German access keys, to be looked at.
# Usage: scripts/screenshots-de.sh BIN OUT [SCALE]   (for example build/bin /tmp/shots 2)
set -uo pipefail
bin=$1 out=$2 scale=${3:-1}
mkdir -p "$out"
work=$(mktemp -d /tmp/vg-shots-XXXXXX)
mkdir "$work/CD_DATA"
cp "$bin/vgconfig" "$bin"/ROVOZUZ_*.html "$work/"
cp -r "$bin/translations" "$work/"
printf 'A:50\r\nC:1\r\nM:1\r\n' >"$work/Konfig.Cfg"
display=:$((150 + RANDOM % 100))
Xvfb "$display" -screen 0 $((1280*scale))x$((1024*scale))x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
trap 'kill $program $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
program="" wm=""
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
(cd "$work" && XDG_CONFIG_HOME=$work/cfg LANG=de_DE.UTF-8 LANGUAGE='' LC_ALL='' QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=xcb exec ./vgconfig) >"$out/program.log" 2>&1 &
program=$!
for _ in $(seq 50); do
    w=$(xdotool search --name '^VG-Config' 2>/dev/null | head -1) && [ -n "$w" ] && break
    sleep 0.2
done
sleep 3
n=0
shot() { n=$((n+1)); import -window root "$out/$(printf %02d $n)-$1.png"; }
key() { xdotool key --delay 120 "$@"; sleep 1.2; }
shot main
key alt+d; shot menu-datei; key Escape Escape
key alt+v; shot menu-vigilo; key Escape Escape
key alt+o; shot menu-optionen; key s; shot menu-sprache; key Escape Escape Escape
key alt+o k; shot kommunikation; key Escape
key F1; shot hilfe; key Escape
key alt+question; sleep 0.5; key i; shot info; key Return
key alt+d f; shot quelle; key alt+d; sleep 1; shot dateidialog
xdotool type --delay 50 "VGL_12345678.CD"; key Return; sleep 2; shot global
key alt+s; shot standard
key alt+w; shot werkzeuge
key alt+n; shot werkzeug-neu; key alt+a; sleep 1
key alt+d; sleep 3; shot drucken; key Return; sleep 1
key alt+c; sleep 1; shot schliessen-frage; key alt+n; sleep 1
key alt+v h; shot handbetrieb-meldung; key Return; sleep 1
key alt+v m; sleep 4; shot monitor; key alt+c; sleep 1
key alt+d f; sleep 1; key alt+v; sleep 3; shot einstellungen-vom-geraet
key alt+w; sleep 1; shot werkzeuge-vom-geraet
key alt+c; sleep 1; key alt+n; sleep 1
key alt+v h; sleep 2; shot handbetrieb; key alt+c; sleep 1
key alt+v c; sleep 2; shot vergleich-dialog
xdotool type --delay 50 "VGL_12345678.CD"; key Return; sleep 3; shot vergleich; key Return; sleep 1
echo "$n shots in $out"
