#!/bin/bash
# Runs a Windows program of the build under Wine with the project's prefix and locale; never ~/.wine.
. "$(dirname "$0")/../scripts/wine-env.sh"
exec wine "$@"
