# Sourced: the environment every Wine run of the project uses. A fixed prefix under build/cache (never
# ~/.wine), the private zh_CN.UTF-8 locale so that the ANSI code page is 936 (GBK) and non-ASCII file
# names work, and no Wine debug output.
ZANDREL_ROOT=${ZANDREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=$ZANDREL_ROOT/build/cache/wineprefix
export WINEARCH=win64
export LOCPATH=$ZANDREL_ROOT/build/cache/locale
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Starts a private Xvfb display when none is given; sets DISPLAY and ZANDREL_XVFB_PID.
zandrel_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
        ZANDREL_XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; export ZANDREL_XVFB_PID; return 0; }
            sleep 0.1
        done
        kill "$ZANDREL_XVFB_PID" 2>/dev/null || true
    done
    echo "could not start Xvfb" >&2; return 1
}
