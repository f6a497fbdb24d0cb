#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, checks what it put where a
# desktop looks for it, starts the installed program offscreen for a few seconds
# with its log on, then removes the package again.
#
#   ./scripts/check-deb.sh            (build folder: build/, or $ORVALO3_BUILD_DIR)
#
# Needs root or sudo. A package orvalo3soft installed beforehand is refused, so
# the check never removes a copy someone installed on purpose.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
build_dir="${ORVALO3_BUILD_DIR:-build}"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"

fail() { echo "check-deb: FAILED: $*" >&2; exit 1; }

if dpkg-query -W -f='${Status}' orvalo3soft 2>/dev/null | grep -q "install ok installed"; then
    fail "the package orvalo3soft is already installed; remove it first (apt-get remove orvalo3soft)"
fi

"$here/setup-debian.sh"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${ORVALO3_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$build_dir" --target orvalo3soft orvalo3soft-cli orvalo3_cli_manpage orvalo3_icon -j"$(nproc)"
rm -f "$build_dir"/orvalo3soft_*.deb
(cd "$build_dir" && cpack -G DEB)
deb="$(cd "$build_dir" && pwd)/$(cd "$build_dir" && ls orvalo3soft_*.deb | head -n 1)"
[[ -f "$deb" ]] || fail "cpack made no .deb"

echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
depends="$(dpkg-deb --field "$deb" Depends)"
for p in libqt5widgets5 libqt5sql5 libqt5sql5-sqlite libqt5gui5 libqt5core5a; do
    [[ "$depends" == *"$p"* ]] || fail "Depends does not name $p"
done

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -q "$deb"
trap '$sudo apt-get remove -y -q orvalo3soft >/dev/null && echo "check-deb: package removed again"' EXIT

app_id=com.tavrel.orvalo3soft
for f in /usr/bin/orvalo3soft /usr/bin/orvalo3soft-cli \
         /usr/share/man/man1/orvalo3soft-cli.1.gz \
         /usr/share/applications/$app_id.desktop \
         /usr/share/metainfo/$app_id.metainfo.xml \
         /usr/share/icons/hicolor/512x512/apps/$app_id.png; do
    [[ -f "$f" ]] || fail "$f not installed"
    echo "installed: $f"
done
[[ -x /usr/bin/orvalo3soft ]] || fail "/usr/bin/orvalo3soft is not executable"
/usr/bin/orvalo3soft-cli --version | grep -q "^orvalo3soft-cli " || fail "orvalo3soft-cli --version says nothing"
if command -v man >/dev/null; then
    man -l /usr/share/man/man1/orvalo3soft-cli.1.gz 2>/dev/null | grep -q "EXIT STATUS" || fail "manual page not readable"
    echo "manual page readable"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate /usr/share/applications/$app_id.desktop || fail "desktop entry not valid"
    echo "desktop entry valid"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml || fail "metainfo not valid"
fi

# Start the installed program in a scratch folder with scratch settings and its
# log on: still running after 5 seconds, with the library database opened
# (which needs the SQLite driver of the package's dependencies).
scratch="$(mktemp -d)"
mkdir -p "$scratch/config/tavrel"
printf '[General]\nlogenabled=true\nlanguage=en\n' >"$scratch/config/tavrel/orvalo3soft.conf"
set +e
(cd "$scratch" && TMPDIR="$scratch" XDG_CONFIG_HOME="$scratch/config" QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/orvalo3soft)
rc=$?
set -e
[[ $rc -eq 124 ]] || { cat "$scratch/log.txt" 2>/dev/null; rm -rf "$scratch"; fail "orvalo3soft ended with $rc within 5 seconds"; }
grep -q "DB initialized correctly" "$scratch/log.txt" || { cat "$scratch/log.txt"; rm -rf "$scratch"; fail "no library database in the log"; }
echo "orvalo3soft ran for 5 seconds from /usr/bin; its log:"
head -n 8 "$scratch/log.txt"
rm -rf "$scratch"
echo "check-deb: OK"
