#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a packager gets: the programs, the help
# file, manual pages that render, the completion of vgctl, the fieldbus driver header and, with
# the windows, a desktop entry and metainfo that the validators accept.
# Usage: check-install-layout.sh CMAKE BUILD_DIR VERSION DESKTOP_ID WITH_WINDOWS(ON|OFF)
#        DRIVER_DOCDIR (where the driver page goes, below the prefix or absolute)
set -euo pipefail
cmake=$1 build=$2 version=$3 id=$4 windows=$5 driver_docdir=$6

prefix=$(mktemp -d /tmp/vg-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
expect_file() {
    [ -f "$1" ] || fail "missing $1"
}

programs=(vgctl vigilo-sim)
[ "$windows" = ON ] && programs+=(vgconfig)
for program in "${programs[@]}"; do
    expect_file "$prefix/bin/$program"
    page=$share/man/man1/$program.1.gz
    expect_file "$page"
    # Rendered without a warning, and with the sections a reader looks for.
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
    rendered=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS; do
        grep -q "^$section" <<<"$rendered" || fail "$page has no $section"
    done
    # Every option the program lists in its help, and every command it takes on its input,
    # is in its page.
    help=$("$prefix/bin/$program" --help)
    for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
        grep -qF -- "$option" <<<"$rendered" || fail "$page does not mention $option"
    done
    for command in $(sed -n '/^Commands on standard input:$/,/^$/p' <<<"$help" | tail -n +2 |
        tr '|' '\n' | awk '{ print $1 }'); do
        # On a line of the page's own indent, as a tag or in the text.
        grep -qE "^ {7}([^ ].*)?\<$command\>" <<<"$rendered" ||
            fail "$page does not describe $command"
    done
    out=$("$prefix/bin/$program" --version)
    [ "$out" = "$program $version" ] || fail "$program --version said '$out'"
done
expect_file "$share/vg-config/ROVOZUZ_E.html"
expect_file "$share/vg-config/ROVOZUZ_D.html"

# The driver interface builds a driver as C, with nothing but the installed header.
# The installed page names the installed example and header, nothing of the source or build.
case $driver_docdir in
/*) driver_docdir=$prefix${driver_docdir#"$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"} ;;
*) driver_docdir=$prefix/$driver_docdir ;;
esac
page=$driver_docdir/fieldbus-driver.md
expect_file "$page"
expect_file "$driver_docdir/examples/example_driver.c"
! grep -nE 'build/|examples/fieldbus-driver|docs/|<!--' "$page" || fail "$page names the source"
# It names them where the build's prefix puts them; here they are under $prefix.
configured=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
named=$(grep -oE "$configured/[^ \`]*" "$page" | sort -u)
[ -n "$named" ] || fail "$page names no installed file"
for path in $named; do
    [ -e "$prefix${path#"$configured"}" ] || fail "$page names $path, which is not installed"
done
driver=$(mktemp -d /tmp/vg-driver-XXXXXX)
cc -std=c99 -Wall -Werror -shared -fPIC -I"$prefix/include" -o "$driver/libdriver.so" \
    "$driver_docdir/examples/example_driver.c" ||
    fail "the example driver does not build against the installed header"
rm -rf "$driver"

# The completion offers the commands and the .CD files, reading them from the installed vgctl.
completion=$share/bash-completion/completions/vgctl
expect_file "$completion"
work=$(mktemp -d /tmp/vg-completion-XXXXXX)
touch "$work/VGL_00001234.CD" "$work/notes.txt"
words=$(cd "$work" && PATH="$prefix/bin:$PATH" bash -c '
    source "$1"
    complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _vgctl; echo "${COMPREPLY[*]}"; }
    complete_words vgctl d
    complete_words vgctl --port COM1 show ""' _ "$completion")
rm -rf "$work"
[ "$words" = $'download diff\nVGL_00001234.CD' ] || fail "completion gave: $words"

if [ "$windows" = ON ]; then
    expect_file "$share/icons/hicolor/scalable/apps/$id.svg"
    desktop-file-validate "$share/applications/$id.desktop"
    grep -q "^Icon=$id$" "$share/applications/$id.desktop" || fail "the entry names another icon"
    appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
    # The German of the windows, where the installed program looks for it, and the entry's.
    qm=$share/vg-config/translations/vgconfig_de.qm
    expect_file "$qm"
    python3 -c 'import sys; sys.exit("&Datei".encode("utf-16-be") not in open(sys.argv[1], "rb").read())' \
        "$qm" || fail "$qm has no German menu"
    grep -q '^Comment\[de\]=' "$share/applications/$id.desktop" || fail "the entry has no German"
    grep -q 'xml:lang="de"' "$share/metainfo/$id.metainfo.xml" || fail "the metainfo has no German"
fi
echo "install layout: ok"
