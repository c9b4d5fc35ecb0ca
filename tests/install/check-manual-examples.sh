#!/usr/bin/env bash
# Installs the build into a fresh prefix and runs the installed manual pages' examples with the
# installed programs on a fresh account: a HOME of its own without any of the program's
# folders, no XDG variables.
# Usage: check-manual-examples.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1 build=$2
top=$(mktemp -d /tmp/vg-examples-XXXXXX)
trap 'rm -rf "$top"' EXIT
"$cmake" --install "$build" --prefix "$top/prefix" >/dev/null
mkdir "$top/home"
env -i PATH="$top/prefix/bin:/usr/bin:/bin" HOME="$top/home" LANG=C.UTF-8 \
    "$(dirname "$0")/run-manual-examples.sh" "$top"/prefix/share/man/man1/*.1.gz
