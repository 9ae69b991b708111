#!/bin/bash
# Builds zandrel.exe and runs it under Wine. On the display in $DISPLAY when there is one; otherwise
# on a private Xvfb display, where it saves a screenshot of MainWindow to build/screenshots/, says
# where, and closes the program.
#   --demo  runs it from build/demo beside the test suite's simulated adb.exe and fastboot.exe, so
#           that every button gives a real answer without a phone.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
demo=0
[ "${1:-}" = "--demo" ] && demo=1
./scripts/setup.sh
cmake --preset windows >/dev/null
exe=build/windows/zandrel.exe
if [ $demo -eq 1 ]; then
    cmake --build --preset windows --target zandrel zandrel_notes fake_adb fake_fastboot
    rm -rf build/demo && mkdir -p build/demo/Brovanek
    cp build/windows/zandrel.exe build/windows/tests/e2e/fakes/adb.exe build/windows/tests/e2e/fakes/fastboot.exe build/demo/
    cp build/windows/Brovanek/a.txt build/demo/Brovanek/
    exe=build/demo/zandrel.exe
    echo "Demo: the simulated tools in build/demo log what they are asked to build/demo/tool.log."
else
    cmake --build --preset windows --target zandrel zandrel_notes
fi
. scripts/wine-env.sh
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Zandrel runs on $DISPLAY; close its window to end it."
    exec wine "$exe"
fi
zandrel_ensure_display
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$ZANDREL_XVFB_PID" 2>/dev/null || true' EXIT
wine "$exe" &
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
