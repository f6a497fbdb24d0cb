#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, if missing.
set -euo pipefail

packages=(
    build-essential cmake
    qtbase5-dev qtbase5-dev-tools libqt5sql5-sqlite qttools5-dev qttools5-dev-tools
    qttranslations5-l10n sqlite3 libicu-dev
    python3 python3-mido python3-mutagen id3v2
    dosfstools fusefat fuse3
    xauth xvfb
)
if [[ "${ORVALO3_WITH_CLANG:-0}" == 1 ]]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
