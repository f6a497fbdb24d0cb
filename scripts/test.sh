#!/usr/bin/env bash
# Sets up, builds and runs every test: once in the normal build, then again
# with AddressSanitizer and UndefinedBehaviorSanitizer (set
# ORVALO3_SANITIZE_PASS=0 to skip that second pass).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
"$here/setup-debian.sh"
"$here/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${ORVALO3_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
if [[ "${ORVALO3_SANITIZE_PASS:-1}" != 0 ]]; then
    "$here/test-sanitize.sh"
fi
