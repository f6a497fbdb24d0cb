#!/usr/bin/env bash
# Builds the whole tree a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer (any compiler; g++ by default) into build-asan
# (or $ORVALO3_ASAN_BUILD_DIR) and runs every test there, the replay of every
# fuzz corpus included. Leaks are reported, except those of Qt's and the
# system's own libraries named in scripts/lsan.supp.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
"$here/setup-debian.sh"

build_dir="${ORVALO3_ASAN_BUILD_DIR:-build-asan}"
# Also for the programs the build itself runs (the image generator).
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
# -O1 keeps the instrumented tests quick; no NDEBUG, so assertions stay on.
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DORVALO3_SANITIZE=ON -DORVALO3_BUILD_BENCH=OFF "$@"
cmake --build "$build_dir" -j"$(nproc)"

ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
