#!/usr/bin/env bash
# Runs each fuzz target for the given number of seconds, one after another,
# at the lowest CPU priority, in one process each (no extra jobs or workers).
#
#   fuzz/run.sh <seconds> [target...]     (default: every target)
#
# Builds the targets in build-fuzz (clang-14, -DORVALO3_FUZZ=ON; override with
# ORVALO3_FUZZ_BUILD_DIR). New inputs go to fuzz/work/corpus/<target>, the
# log to fuzz/work/<target>.log, findings to fuzz/work/artifacts/. The seed
# corpus in fuzz/corpus/<target> is read, never written. Exits non-zero when
# a target found something. ORVALO3_FUZZ_NO_BUILD=1 runs the binaries as built.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 <seconds> [target...]" >&2
    exit 2
fi
seconds="$1"
shift
build="${ORVALO3_FUZZ_BUILD_DIR:-$repo/build-fuzz}"
work="$here/work"

if ! command -v clang++-14 > /dev/null; then
    ORVALO3_WITH_CLANG=1 "$repo/scripts/setup-debian.sh" || exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
        -DORVALO3_FUZZ=ON -DORVALO3_BUILD_TESTS=OFF -DORVALO3_BUILD_BENCH=OFF || exit 1
fi
if [ "${ORVALO3_FUZZ_NO_BUILD:-0}" != 1 ]; then
    nice -n 19 cmake --build "$build" --target fuzz_all -j2 || exit 1
fi

if [ $# -gt 0 ]; then
    targets=("$@")
else
    read -r -a targets <<< "$(sed -n 's/^set(ORVALO3_FUZZ_TARGETS \(.*\))$/\1/p' "$here/targets.cmake")"
fi

export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
mkdir -p "$work/artifacts"
failed=0
for t in "${targets[@]}"; do
    mkdir -p "$work/corpus/$t"
    # Index files hold 270-byte records: give that target room for several.
    case "$t" in indexload|metasong) max_len=16384 ;; *) max_len=8192 ;; esac
    log="$work/$t.log"
    nice -n 19 "$build/fuzz/fuzz_$t" "$work/corpus/$t" "$here/corpus/$t" \
        -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work/artifacts/$t-" -print_final_stats=1 > "$log" 2>&1
    status=$?
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)"
    secs="$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' | tail -1)"
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "$t: FINDING after ${runs:-?} runs (exit $status), see $log"
    else
        echo "$t: ${runs:-?} runs in ${secs:-?} s, no finding"
    fi
done
exit "$failed"
