#!/usr/bin/env bash
# Installs the build into a read-only prefix and runs it as an ordinary user (nobody), whose
# HOME and XDG folders lie in a fresh folder: the settings and the COMn links are read from
# the user's config folder, and a download keeps the unit's names under the user's data folder.
# Needs root to become nobody (exit 77: skipped otherwise).
# Usage: check-installed-read-only.sh CMAKE BUILD_DIR FIXTURE_DIR
set -euo pipefail
cmake=$1 build=$2 fixtures=$3
[ "$(id -u)" -eq 0 ] || exit 77

# World-readable: the clone itself may not be readable by nobody.
top=$(mktemp -d /tmp/vg-readonly-XXXXXX)
sim=
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    rm -rf "$top"
}
trap cleanup EXIT
chmod 755 "$top"
prefix=$top/prefix home=$top/home
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
chmod -R a-w "$prefix"
mkdir "$home"
cp "$fixtures/VGL_00001234.CD" "$fixtures/VGL_00001234.NS" "$home/"
chown -R 65534:65534 "$home"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
as_nobody() {
    setpriv --reuid=65534 --regid=65534 --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$home" "$@"
}

# The usual folders when only HOME is set.
out=$(cd "$home" && as_nobody "$prefix/bin/vgctl" --simulated download VGL_00001234.CD) ||
    fail "download failed: $out"
[ "$out" = "Save Data to VGL successfull!" ] || fail "download said: $out"
cmp "$fixtures/VGL_00001234.NS" "$home/.local/share/vg-config/CD_DATA/VGL_00001234.NS" ||
    fail "the unit's names are not in the user's CD_DATA"
leftovers=$(find "$prefix/bin" -mindepth 1 ! -name vgctl ! -name vgconfig ! -name vigilo-sim)
[ -z "$leftovers" ] || fail "written into the installation: $leftovers"

# Konfig.Cfg and COM1 in $XDG_CONFIG_HOME/vg-config choose the simulated unit's terminal.
settings=$home/config/vg-config
as_nobody mkdir -p "$settings"
printf 'A:50\r\nC:1\r\nM:2\r\n' | as_nobody tee "$settings/Konfig.Cfg" >/dev/null
exec {from_sim}< <(exec setpriv --reuid=65534 --regid=65534 --clear-groups \
    "$prefix/bin/vigilo-sim" --link "$settings/COM1" </dev/null)
sim=$!
read -r -t 10 -u "$from_sim" device || fail "vigilo-sim did not start"
out=$(as_nobody XDG_CONFIG_HOME="$home/config" "$prefix/bin/vgctl" status) ||
    fail "status over $settings/COM1 failed: $out"
grep -q "^Online: yes$" <<<"$out" || fail "status said: $out"
echo "installed read-only, run as nobody: ok ($device)"
