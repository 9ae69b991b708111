#!/bin/bash
# Builds the release exe and the benchmark, runs it under Wine on a private display and prints one
# table (each figure the median of 5 runs, with its reference measured in the same run).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
./scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target zandrel_bench >/dev/null
. scripts/wine-env.sh
unset DISPLAY
zandrel_ensure_display
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$ZANDREL_XVFB_PID" 2>/dev/null || true' EXIT
wineserver -p >/dev/null 2>&1
echo "Zandrel benchmark, $(date -u +%Y-%m-%d), Wine $(wine --version | sed 's/^wine-//'), $(nproc) cores"
echo
rm -f build/windows/tests/e2e/bench-result.md
timeout 900 wine build/windows/tests/e2e/bench.exe >/dev/null 2>&1
cat build/windows/tests/e2e/bench-result.md
