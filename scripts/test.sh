#!/bin/bash
# Builds everything and runs every test: the native unit tests (under ASan and UBSan), then the
# Windows build with its Win32 tests and end-to-end tests under Wine on a private Xvfb display.
# Installs what it needs first (scripts/setup.sh). Exit code 0 when every test passed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
start=$(date +%s)
./scripts/setup.sh

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows build, Win32 and end-to-end tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
# The release zip, unpacked as a user would; the end-to-end tests start the program from there.
(cd build/windows && cpack -G ZIP >/dev/null && rm -rf package-check && unzip -q -d package-check zandrel-*-win32.zip)
. scripts/wine-env.sh
ZANDREL_XVFB_PID=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${ZANDREL_XVFB_PID:-}" ] && kill "$ZANDREL_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
unset DISPLAY  # always a private display: tests must not click on a developer's desktop
zandrel_ensure_display
# The prefix's virtual desktop belongs to the display it was started on: end whatever still runs in
# the project's prefix, then keep one fresh server up for all the Wine runs.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1
# Start the desktop and Wine's services now, away from ctest's output pipes: the first program of a
# server starts them, and they would hold its pipes open and stall ctest until its timeout.
timeout 60 wine cmd /c ver >/dev/null 2>&1 || true
status=0
ctest --preset windows || status=$?
# Screenshots the tests saved, as PNG for viewing.
for f in build/screenshots/*.bmp; do
    [ -e "$f" ] && convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
[ $status -eq 0 ] || exit $status
echo "all tests passed in $(( $(date +%s) - start )) s"
