#!/usr/bin/env bash
# Runs every example of the manual pages as written, from the user's home folder, with the
# programs PATH finds: on a fresh account (a HOME of its own, no XDG variables) they must work
# without any preparation. vigilo-sim's examples run first and keep running in the background,
# so that the other pages' COM1 is its terminal; `watch` runs for a few seconds. An example
# that names a file this machine does not have (a card's driver, an adapter's by-id name) is
# skipped, as is one with --simulated while vgctl does not know that switch yet.
# Usage: run-manual-examples.sh PAGE... (roff, or gzip'd roff)
set -euo pipefail

examples() {
    { case $1 in *.gz) zcat "$1" ;; *) cat "$1" ;; esac } | awk '
        /^\.SH / { inside = ($2 == "EXAMPLES"); next }
        inside && /^\.RS/ { block = 1; next }
        inside && /^\.RE/ { block = 0; next }
        inside && block && !/^\./ { print }' | sed -e 's/\\-/-/g' -e 's/\\e/\\/g'
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

pages=()
for page in "$@"; do
    case $(basename "$page") in vigilo-sim.*) pages=("$page" "${pages[@]}") ;; *) pages+=("$page") ;; esac
done

work=$(mktemp -d)
servers=()
cleanup() {
    for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

ran=0 skipped=0
cd "$HOME"
for page in "${pages[@]}"; do
    while IFS= read -r command; do
        [ -n "$command" ] || continue
        missing=
        for word in $command; do
            if [[ $word == /* && ! -e $word ]]; then missing=$word; fi
        done
        if [ -n "$missing" ]; then
            echo "skipped (no $missing here): $command"
            skipped=$((skipped + 1))
            continue
        fi
        if [[ $command == *--simulated* ]] && ! vgctl --help 2>/dev/null | grep -q -- --simulated; then
            echo "skipped (this vgctl has no --simulated): $command"
            skipped=$((skipped + 1))
            continue
        fi
        echo "\$ $command"
        ran=$((ran + 1))
        case $command in
        vigilo-sim*)
            out=$work/server$ran
            bash -c "exec $command" >"$out" 2>&1 </dev/null &
            servers+=($!)
            for _ in $(seq 100); do
                [ -s "$out" ] && break
                kill -0 "${servers[-1]}" 2>/dev/null || break
                sleep 0.1
            done
            kill -0 "${servers[-1]}" 2>/dev/null || fail "$command ended: $(cat "$out")"
            [ -s "$out" ] || fail "$command printed no terminal"
            cat "$out"
            ;;
        *" watch"*)
            status=0
            timeout 5 bash -c "$command" >"$work/out" 2>&1 || status=$?
            cat "$work/out"
            [ "$status" -eq 124 ] || fail "$command ended by itself ($status)"
            [ -s "$work/out" ] || fail "$command printed nothing"
            ;;
        *)
            status=0
            timeout 120 bash -c "$command" || status=$?
            [ "$status" -eq 0 ] || fail "$command: exit status $status"
            ;;
        esac
    done < <(examples "$page")
done
[ "$ran" -gt 0 ] || fail "no example ran"
echo "manual pages' examples: $ran ran, $skipped skipped"
