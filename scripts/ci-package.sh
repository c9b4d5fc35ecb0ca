#!/usr/bin/env bash
# CI: the Debian packages, as a maintainer makes and checks them. dpkg-buildpackage builds
# vg-config and vg-config-dev from the committed source (an export of HEAD, so the checkout
# and the folder above it stay as they are), without the tests: scripts/test-all.sh ran every
# one on the Release build of the same source. lintian --pedantic must find no error and no
# warning (its informational tags are shown), hardening-check must pass on every program, and
# installed with apt the programs must run as a new ordinary user: the manual pages' examples,
# the example driver built as its page says, the program without a display and offscreen. The
# packages are purged at the end and nothing of them may be left.
# Runs as root (CI), or as a user who may sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d /tmp/vg-package-XXXXXX)
chmod 755 "$work"
user="" sim_pid=""
cleanup() {
    if dpkg-query -W -f='${Status}' vg-config 2>/dev/null | grep -q "ok installed" &&
        [ -e "$work/installed-here" ]; then
        $sudo apt-get purge -y -q vg-config vg-config-dev >/dev/null || true
    fi
    [ -n "$user" ] && $sudo userdel -r "$user" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The source as committed, in a folder named as dpkg-source expects.
upstream=$(dpkg-parsechangelog -S Version | sed 's/-[^-]*$//')
debian_version=$(dpkg-parsechangelog -S Version)
source=$work/vg-config-$upstream
mkdir "$source"
if git rev-parse --git-dir >/dev/null 2>&1; then
    git archive HEAD | tar -x -C "$source"
    git diff --quiet HEAD || echo "note: uncommitted changes are not in the package"
else
    tar -c --exclude='./build*' --exclude=./.git . | tar -x -C "$source"
fi

echo "== dpkg-buildpackage"
start=$SECONDS
(cd "$source" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" \
    dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
    { tail -50 "$work/build.log"; fail "dpkg-buildpackage failed (log above)"; }
echo "built in $((SECONDS - start)) s:" "$work"/*.deb
changes=$(ls "$work"/vg-config_"$debian_version"_*.changes)
arch=$(dpkg --print-architecture)
deb=$work/vg-config_${debian_version}_$arch.deb
dev=$work/vg-config-dev_${debian_version}_all.deb
[ -f "$deb" ] && [ -f "$dev" ] || fail "the build did not make both packages"
# The compiler was never told to stop on a warning.
! grep -q -- '-Werror ' "$work/build.log" || fail "the package build used -Werror"

echo "== lintian --pedantic"
# Overridden tags are shown with their reasons (O:, N:); an error or a warning fails.
lintian --pedantic --display-info --show-overrides --tag-display-limit 0 --fail-on none \
    "$changes" | tee "$work/lintian.log"
! grep -E '^(E|W): ' "$work/lintian.log" >/dev/null || fail "lintian found an error or a warning"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6; do
    grep -q "$library" <<<"$depends" || fail "vg-config does not depend on $library"
done

echo "== hardening-check"
# Control flow integrity is left out: Debian 12's C library start files carry no CET note, so
# no program linked there has one (hardening=+all does not ask for it). A program whose
# fortifiable calls all have lengths the compiler proves to fit has no checked call; that is
# accepted when every compilation had _FORTIFY_SOURCE, as the build log shows.
dpkg-deb -x "$deb" "$work/unpacked"
programs=$(dpkg-deb -c "$deb" | awk '$6 ~ /^\.\/usr\/bin\/./ { sub(/^\./, "", $6); print $6 }')
[ "$(wc -w <<<"$programs")" -eq 3 ] || fail "vg-config has other programs than the three: $programs"
programs="$programs /usr/sbin/vg-gateway"
compilations=$(grep -E '^\[[0-9]+/[0-9]+\] .*(c\+\+|cc) .* -c ' "$work/build.log")
[ -n "$compilations" ] || fail "no compiler command in the build log"
! grep -v -- '-D_FORTIFY_SOURCE=' <<<"$compilations" || fail "compiled without _FORTIFY_SOURCE"
for program in $programs; do
    report=$(hardening-check --nocfprotection "$work/unpacked$program") && echo "$report" || {
        echo "$report"
        [ "$(grep ': no' <<<"$report" | grep -vc '(ignored)')" -eq 1 ] &&
            grep -q 'Fortify Source functions: no, only unprotected functions found' <<<"$report"
    } || fail "$program is not hardened"
done

if dpkg-query -W -f='${Status}' vg-config 2>/dev/null | grep -q "ok installed"; then
    echo "vg-config is installed on this machine already; not installing over it"
    exit 0
fi
echo "== apt install"
touch "$work/installed-here"
$sudo apt-get install -y -q --no-install-recommends "$deb" "$dev" >/dev/null
for program in $programs; do
    [ -x "$program" ] || fail "$program is not installed"
done
mapfile -t installed < <(dpkg -L vg-config vg-config-dev)

# A new ordinary user, with nothing of the program's in the home folder.
if [ -z "$sudo" ]; then
    user=vgtest$$
    useradd -m -s /bin/bash "$user"
    home=$(getent passwd "$user" | cut -d: -f6)
    # What the user id owns outside the home folder before it runs anything (a reused id).
    owned_before=$(find /tmp /var/tmp /dev/shm -user "$user" 2>/dev/null | sort)
    as_user() {
        setpriv --reuid="$user" --regid="$user" --init-groups \
            env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 USER="$user" \
            XDG_RUNTIME_DIR="$home/.run" "$@"
    }
else
    home=$work/home
    mkdir "$home"
    as_user() {
        env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR="$home/.run" "$@"
    }
fi
# The runtime folder a login session would give (without one the toolkit makes its own in /tmp).
as_user mkdir -m 700 "$home/.run"

echo "== the installed programs, as $(as_user id -un)"
for program in vgctl vigilo-sim vgconfig /usr/sbin/vg-gateway; do
    [ "$(as_user "$program" --version)" = "${program##*/} $upstream" ] ||
        fail "$program --version said $(as_user "$program" --version)"
done

echo "== the gateway's service"
# Clean for systemd, and sandboxed at least as far as "OK" (an exposure of 2.5 or lower).
unit=/lib/systemd/system/vg-gateway.service
systemd-analyze verify "$unit" || fail "systemd-analyze verify found faults in $unit"
exposure=$(systemd-analyze security --offline=true "$unit" |
    sed -n 's/^.*Overall exposure level for vg-gateway.service: \([0-9.]*\).*$/\1/p')
echo "exposure: $exposure"
awk -v e="$exposure" 'BEGIN { exit !(e != "" && e <= 2.5) }' ||
    fail "vg-gateway.service is exposed at $exposure, more than 2.5"
! systemctl is-enabled vg-gateway.service >/dev/null 2>&1 ||
    fail "the package enabled vg-gateway.service, which has no configuration yet"
as_user /usr/sbin/vg-gateway --check-config /usr/share/doc/vg-config/examples/gateway.conf ||
    fail "the example gateway configuration has faults"
# Without a display: one line naming the variables, status 1; a bad option: status 2.
status=0
as_user vgconfig >"$work/out" 2>&1 || status=$?
[ "$status" -eq 1 ] && [ "$(wc -l <"$work/out")" -eq 1 ] && grep -q WAYLAND_DISPLAY "$work/out" ||
    fail "vgconfig without a display ($status): $(cat "$work/out")"
status=0
as_user vgconfig --frobnicate >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "vgconfig --frobnicate without a display ended with $status"

# Every example of the installed manual pages, as written.
cp tests/install/run-manual-examples.sh "$work/"
(cd "$home" && as_user "$work/run-manual-examples.sh" /usr/share/man/man1/vgctl.1.gz \
    /usr/share/man/man1/vigilo-sim.1.gz /usr/share/man/man1/vgconfig.1.gz) ||
    fail "an example of the manual pages failed"

# The installed completion, in bash on a terminal.
cp tests/install/check-completion.py "$work/"
as_user python3 "$work/check-completion.py" /usr/share/bash-completion/completions/vgctl /usr/bin ||
    fail "the installed completion"

# The example driver, built from what vg-config-dev installs as its page says, reaches a unit.
# (compressed, as documentation in /usr/share/doc is)
installed_page=/usr/share/doc/vg-config-dev/fieldbus-driver.md.gz
[ -f "$installed_page" ] || fail "no $installed_page"
page=$work/fieldbus-driver.md
zcat "$installed_page" >"$page"
! grep -nE 'build/|examples/fieldbus-driver|docs/|<!--' "$page" ||
    fail "$installed_page names paths of the source or the build"
build_line=$(sed -n '/^    cc -shared/,/[^\\]$/p' "$page" | tr -d '\\\n')
(cd "$home" && as_user bash -c "$build_line") || fail "the example driver did not build: $build_line"
(cd "$home" && as_user timeout 20 vgctl --fieldbus-driver ./libvgdp-example.so status \
    >"$work/out" 2>&1) || fail "vgctl through the example driver: $(cat "$work/out")"
grep -q "^Online: yes$" "$work/out" || fail "the example driver's unit: $(cat "$work/out")"

# Offscreen in fieldbus mode the program reads its settings from ~/.config/vg-config, opens
# nothing under /usr for writing, and runs until it is ended (timeout's status 124).
as_user mkdir -p "$home/.config/vg-config"
printf 'A:50\r\nC:1\r\nM:1\r\n' | as_user tee "$home/.config/vg-config/Konfig.Cfg" >/dev/null
status=0
as_user QT_QPA_PLATFORM=offscreen strace -f -qq -e trace=openat -o "$home/trace" \
    timeout 8 vgconfig >"$work/out" 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "vgconfig ended by itself ($status): $(cat "$work/out")"
grep -qF "\"$home/.config/vg-config/Konfig.Cfg\", O_RDONLY" "$home/trace" ||
    fail "vgconfig did not read ~/.config/vg-config/Konfig.Cfg"
if grep -E 'openat\([^"]*"/usr/[^"]*", [^)]*O_(WRONLY|RDWR)' "$home/trace"; then
    fail "vgconfig opened files of the installation for writing"
fi
# Under a German locale it loads the German of its windows and Qt's own dialogs from the
# installation (the X11 test of the build shows the German titles and menus).
status=0
as_user LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen strace -f -qq -e trace=openat \
    -o "$home/trace-de" timeout 5 vgconfig >"$work/out" 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "vgconfig under de_DE ended by itself ($status): $(cat "$work/out")"
for qm in /usr/share/vg-config/translations/vgconfig_de.qm /usr/share/qt6/translations/qtbase_de.qm; do
    grep -qF "\"$qm\", O_RDONLY" "$home/trace-de" || fail "vgconfig under de_DE did not load $qm"
done

echo "== apt purge"
$sudo apt-get purge -y -q vg-config vg-config-dev >/dev/null
rm -f "$work/installed-here"
dpkg-query -W -f='${Status}\n' vg-config vg-config-dev 2>/dev/null | grep -q 'ok installed' &&
    fail "the packages are still installed"
for path in "${installed[@]}"; do
    case $path in
    /usr/share/vg-config* | /usr/include/vgdp* | /usr/share/doc/vg-config*) [ ! -e "$path" ] ;;
    *) [ -d "$path" ] || [ ! -e "$path" ] ;;
    esac || fail "$path is left after the purge"
done
if [ -z "$sudo" ]; then
    left=$(comm -13 <(echo "$owned_before") \
        <(find /tmp /var/tmp /dev/shm -user "$user" 2>/dev/null | sort) | head)
    [ -z "$left" ] || fail "the user's programs left: $left"
fi
echo "package: ok"
