#!/usr/bin/env bash
# Configures and builds into build/ (or $ORVALO3_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ORVALO3_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${ORVALO3_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$build_dir" -j"$(nproc)"
