#!/usr/bin/env bash
# CI: the Debian package, from the Release build a packager makes (warnings are errors here),
# the build whose tests scripts/test-all.sh runs just before this stage. The package's
# dependencies must name the Qt 6 runtime, and installed with apt on this machine it must run:
# vgctl --version, and vgconfig started offscreen in fieldbus mode with its settings in
# ~/.config/vg-config. The package is removed again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

cmake --preset package
cmake --build --preset package

rm -f build-package/vg-config_*.deb
cpack --preset package -B "$PWD/build-package" >/dev/null
deb=$(ls build-package/vg-config_*.deb)
echo "== $deb"
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6; do
    grep -q "$library" <<<"$depends" || { echo "the package does not depend on $library"; exit 1; }
done

if dpkg-query -W vg-config >/dev/null 2>&1; then
    echo "vg-config is installed on this machine already; not touching it"
    exit 0
fi
home=$(mktemp -d /tmp/vg-package-XXXXXX)
cleanup() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q vg-config >/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "./$deb" >/dev/null
for file in /usr/bin/vgconfig /usr/share/applications/org.vgconfig.VGConfig.desktop \
    /usr/share/icons/hicolor/scalable/apps/org.vgconfig.VGConfig.svg \
    /usr/share/metainfo/org.vgconfig.VGConfig.metainfo.xml /usr/share/man/man1/vgctl.1.gz \
    /usr/share/bash-completion/completions/vgctl; do
    [ -e "$file" ] || { echo "the package did not install $file"; exit 1; }
done
[ "$(vgctl --version)" = "vgctl $(dpkg-deb --field "$deb" Version)" ]

# Started offscreen in fieldbus mode, the installed program reads its settings from
# ~/.config/vg-config, opens nothing under /usr for writing, and runs until it is ended
# (timeout's status 124).
mkdir -p "$home/.config/vg-config"
printf 'A:50\r\nC:1\r\nM:1\r\n' >"$home/.config/vg-config/Konfig.Cfg"
status=0
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" \
    strace -f -qq -e trace=openat -o "$home/trace" timeout 8 vgconfig >"$home/log" 2>&1 ||
    status=$?
if [ "$status" -ne 124 ]; then
    echo "vgconfig ended by itself ($status):"
    cat "$home/log"
    exit 1
fi
grep -qF "\"$home/.config/vg-config/Konfig.Cfg\", O_RDONLY" "$home/trace" ||
    { echo "vgconfig did not read ~/.config/vg-config/Konfig.Cfg"; exit 1; }
if grep -E 'openat\([^"]*"/usr/[^"]*", [^)]*O_(WRONLY|RDWR)' "$home/trace"; then
    echo "vgconfig opened files of the installation for writing"
    exit 1
fi
echo "package: ok"
