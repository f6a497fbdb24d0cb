#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup-debian.sh"
"$here/build.sh"
exe="$here/../build/app/orvalo3soft"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "No display found: starting under xvfb-run (set QT_QPA_PLATFORM=offscreen to run without any display)."
    exec xvfb-run -a "$exe" "$@"
fi
exec "$exe" "$@"
