#!/bin/bash
# Without a display no window can be created: zandrel.exe must end in its fatal stop (exit code -1,
# which Wine reports as 255) instead of waiting for a window that never comes.
set -u
exe=$1
unset DISPLAY
. "$(dirname "$0")/../../scripts/wine-env.sh"
timeout 60 wine "$exe" >/dev/null 2>&1
rc=$?
if [ $rc -ne 255 ]; then
    echo "got exit code $rc, expected 255 (-1)"
    exit 1
fi
echo "exit code 255 (-1): fatal stop"
