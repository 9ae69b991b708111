#!/bin/bash
# Installs what building and testing Zandrel needs on a Debian 12 machine, as root, and fills the
# caches under build/cache: MinGW-w64, zlib for MinGW, Wine with its 32-bit part, Xvfb, fonts,
# ImageMagick, a private zh_CN.UTF-8 locale, libpng and GoogleTest cross-built for MinGW, and a Wine
# prefix with a 1920x1080 virtual desktop. Every step is skipped when its result is already there,
# so a second run takes a second or two.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=$ROOT/build/cache
mkdir -p "$CACHE"
log() { printf '[setup] %s\n' "$*"; }

# --- Debian packages -------------------------------------------------------------------------------
PKGS=(g++ cmake make git googletest libgtest-dev libpng-dev pkg-config locales dpkg-dev python3 python3-pil
      g++-mingw-w64-i686-posix libz-mingw-w64-dev wine wine32:i386 wine64 xvfb xdotool imagemagick
      fonts-wqy-microhei fonts-wine x11-utils xauth zip unzip)
missing=()
for p in "${PKGS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
enable_deb_src() {
    local f=/etc/apt/sources.list.d/debian.sources
    if [ -f "$f" ] && ! grep -q '^Types:.*deb-src' "$f"; then
        sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"; return 0
    fi
    if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list \
       && ! grep -q '^deb-src ' /etc/apt/sources.list; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >> /etc/apt/sources.list; return 0
    fi
    return 1
}
need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; need_update=1; fi
if enable_deb_src; then need_update=1; fi
if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
    log "apt-get update"
    apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
    log "installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$CACHE/apt.log" 2>&1 \
        || { tail -30 "$CACHE/apt.log"; exit 1; }
fi

# --- private zh_CN.UTF-8 locale: Wine takes code page 936 (GBK) from it ----------------------------
if [ ! -d "$CACHE/locale/zh_CN.UTF-8" ]; then
    log "building the zh_CN.UTF-8 locale"
    mkdir -p "$CACHE/locale"
    localedef -i zh_CN -f UTF-8 "$CACHE/locale/zh_CN.UTF-8" 2>/dev/null || test -d "$CACHE/locale/zh_CN.UTF-8"
fi

# --- libpng for MinGW, from Debian's source package (with Debian's patches) -----------------------
PNGPREFIX=$CACHE/libpng-mingw
if [ ! -f "$PNGPREFIX/lib/libpng.a" ] && [ ! -f "$PNGPREFIX/lib/libpng16.a" ]; then
    log "building libpng for MinGW"
    src=$CACHE/libpng-src; rm -rf "$src"; mkdir -p "$src"
    (
        cd "$src"
        ok=0
        # The newest version may not be served (its files answer 404); try the listed ones in turn.
        for v in $(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -rV | uniq); do
            if apt-get source --download-only -qq "libpng1.6=$v" >/dev/null 2>&1; then ok=1; break; fi
            rm -f ./*.dsc ./*.tar.* 2>/dev/null || true
        done
        [ $ok -eq 1 ] || { echo "could not download the libpng1.6 source package"; exit 1; }
        dpkg-source -x ./*.dsc libpng >/dev/null
    )
    cmake -S "$src/libpng" -B "$src/build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PNGPREFIX" \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_FRAMEWORK=OFF \
        -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
        >"$CACHE/libpng-build.log" 2>&1 || { tail -30 "$CACHE/libpng-build.log"; exit 1; }
    cmake --build "$src/build" -j2 --target install >>"$CACHE/libpng-build.log" 2>&1 \
        || { tail -30 "$CACHE/libpng-build.log"; exit 1; }
    rm -rf "$src"
fi

# --- GoogleTest for MinGW ---------------------------------------------------------------------------
GTPREFIX=$CACHE/gtest-mingw
if [ ! -f "$GTPREFIX/lib/cmake/GTest/GTestConfig.cmake" ]; then
    log "building GoogleTest for MinGW"
    cmake -S /usr/src/googletest -B "$CACHE/gtest-build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$GTPREFIX" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF \
        >"$CACHE/gtest-build.log" 2>&1 || { tail -30 "$CACHE/gtest-build.log"; exit 1; }
    cmake --build "$CACHE/gtest-build" -j2 --target install >>"$CACHE/gtest-build.log" 2>&1 \
        || { tail -30 "$CACHE/gtest-build.log"; exit 1; }
    rm -rf "$CACHE/gtest-build"
fi

# --- Wine prefix with a 1920x1080 virtual desktop as its default -----------------------------------
# shellcheck source=scripts/wine-env.sh
. "$ROOT/scripts/wine-env.sh"
if [ ! -f "$WINEPREFIX/.zandrel-ready" ]; then
    log "creating the Wine prefix (about 15 s)"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
    # no crash dialog for a test program that faults: it just ends
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.zandrel-ready"
fi
log "ready"
