#!/usr/bin/env bash
# Installs the Debian packages VG-Config needs to build, test and run. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev
    # the windows' translations: lupdate, lrelease and their CMake functions; Qt's own German
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    # the plant gateway: MQTT, INI, the service manager; a real broker and openssl for its tests
    libmosquitto-dev libinih-dev libsystemd-dev mosquitto mosquitto-clients openssl
    libgtest-dev libgmock-dev libbenchmark-dev
    poppler-utils fonts-dejavu-core
    clang libclang-rt-14-dev clang-format clang-tidy
    xvfb xauth openbox xdotool x11-utils
    # installing and packaging: the validators, manual pages, and what dpkg-buildpackage,
    # lintian and hardening-check need
    desktop-file-utils appstream man-db dpkg-dev file strace
    debhelper fakeroot lintian devscripts equivs
    # a locale with a decimal comma, for the tests of texts that must keep their point
    locales
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    echo "Generating the locale de_DE.UTF-8"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
