#!/usr/bin/env bash
# CI: builds the fuzz targets and runs each one for a bounded time, starting from its committed
# corpus. The fuzzer works on a copy, so nothing is written into the tree. A crash, a leak, a
# hang or a broken check fails the stage; the input that did it is kept under
# build-fuzz/findings/<target>/ and can be replayed with: build-fuzz/fuzz/<target> <file>
#
# FUZZ_SECONDS sets the time per target (default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

seconds="${FUZZ_SECONDS:-30}"
targets=(
    fuzz_frame_reader
    fuzz_config_file
    fuzz_namespace_file
    fuzz_comm_settings
    fuzz_numeric_text
    fuzz_sim_unit
)

cmake --preset fuzz
cmake --build --preset fuzz

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failed=()
for target in "${targets[@]}"; do
    corpus="$work/corpus/$target"
    findings="build-fuzz/findings/$target"
    log="$work/$target.log"
    mkdir -p "$corpus" "$findings"
    cp fuzz/corpus/"$target"/* "$corpus"/
    options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
             -artifact_prefix="$findings/")
    if [ -f "fuzz/dict/$target.dict" ]; then
        options+=(-dict="fuzz/dict/$target.dict")
    fi
    echo "== $target (${seconds} s)"
    if build-fuzz/fuzz/"$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
        grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$log" || true
    else
        tail -n 60 "$log"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing found problems in: ${failed[*]} (inputs under build-fuzz/findings/)"
    exit 1
fi
echo "fuzzing: no findings"
