#!/usr/bin/env bash
# Runs every libFuzzer target built by `make fuzz` for a while, one after another.
#
#   run-fuzzers.sh <fuzz-build-folder> <seconds-each> [target...]
#
# Each target starts from its seeds (fuzz/seeds/<name>/) and regression inputs
# (fuzz/regressions/<name>/) and grows its own corpus in <build>/fuzz/corpus/<name>/;
# an input that faults is written to <build>/fuzz/artifacts/<name>/ and listed at the end.
# Extra libFuzzer flags can be given in FUZZ_FLAGS (for example FUZZ_FLAGS=-max_len=65536).
# Exit status: 0 no fault found, 1 a target faulted, 2 wrong usage.

set -uo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 <fuzz-build-folder> <seconds-each> [target...]" >&2
    exit 2
fi
BUILD=$(readlink -f "$1")
SECONDS_EACH=$2
shift 2
SOURCE=$(cd "$(dirname "$0")" && pwd)
LIST="$BUILD/fuzz/fuzz-targets.txt"
if [ ! -f "$LIST" ]; then
    echo "run-fuzzers: $LIST is missing; build with make fuzz" >&2
    exit 2
fi

declare -A DICT
NAMES=()
while IFS='|' read -r name dict; do
    [ -n "$name" ] || continue
    DICT[$name]=$dict
    NAMES+=("$name")
done <"$LIST"
if [ $# -gt 0 ]; then
    NAMES=("$@")
fi

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
faulted=0
summary=()
for name in "${NAMES[@]}"; do
    program="$BUILD/fuzz/fuzz_$name"
    if [ ! -x "$program" ]; then
        echo "run-fuzzers: no target $name" >&2
        exit 2
    fi
    corpus="$BUILD/fuzz/corpus/$name"
    artifacts="$BUILD/fuzz/artifacts/$name"
    log="$BUILD/fuzz/$name.log"
    mkdir -p "$corpus" "$artifacts"
    inputs=("$corpus")
    for dir in "$SOURCE/seeds/$name" "$SOURCE/regressions/$name"; do
        [ -d "$dir" ] && inputs+=("$dir")
    done
    flags=(-max_total_time="$SECONDS_EACH" -artifact_prefix="$artifacts/" -print_final_stats=1 -rss_limit_mb=2048)
    if [ -n "${DICT[$name]:-}" ] && [ -f "${DICT[$name]}" ]; then
        flags+=(-dict="${DICT[$name]}")
    fi
    echo "fuzzing $name for ${SECONDS_EACH}s (log: $log)"
    # shellcheck disable=SC2086 # FUZZ_FLAGS holds several flags
    "$program" "${flags[@]}" ${FUZZ_FLAGS:-} "${inputs[@]}" >"$log" 2>&1
    status=$?
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    found=$(find "$artifacts" -type f | wc -l)
    if [ $status -ne 0 ] || [ "$found" -gt 0 ]; then
        faulted=1
        summary+=("$name: FAULT after ${runs:-?} inputs (status $status); inputs in $artifacts, see $log")
    else
        summary+=("$name: ${runs:-?} inputs, corpus $(find "$corpus" -type f | wc -l) files, no fault")
    fi
done
echo
printf '%s\n' "${summary[@]}"
exit $faulted
