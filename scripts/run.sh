#!/bin/bash
# Builds zandrel.exe and runs it under Wine. On the display in $DISPLAY when there is one; otherwise
# on a private Xvfb display, where it saves a screenshot of MainWindow to build/screenshots/, says
# where, and closes the program.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
./scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target zandrel zandrel_notes
. scripts/wine-env.sh
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Zandrel runs on $DISPLAY; close its window to end it."
    exec wine build/windows/zandrel.exe
fi
zandrel_ensure_display
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$ZANDREL_XVFB_PID" 2>/dev/null || true' EXIT
wine build/windows/zandrel.exe &
pid=$!
# Wait for MainWindow (its title) to appear on the virtual desktop.
for _ in $(seq 1 100); do
    xdotool search --name "Zandrel By Quivon" >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1
mkdir -p build/screenshots
# MainWindow is 404 x 290, centred on the 1920 x 1080 desktop: its corner is at 758, 395.
import -window root -crop 404x290+758+395 +repage build/screenshots/run_main_window.png
echo "Zandrel started on a private display ($DISPLAY); screenshot of MainWindow: $ROOT/build/screenshots/run_main_window.png"
wineserver -k >/dev/null 2>&1 || true
wait "$pid" 2>/dev/null || true
echo "Zandrel closed."
