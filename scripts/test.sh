#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
"$here/setup-debian.sh"
"$here/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${ORVALO3_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
