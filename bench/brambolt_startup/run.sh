#!/bin/sh
# Start-up time of Brambolt.exe against an empty dialog program built the same way: from the
# process start to the visible main window, under Wine on an X display, A and B in turn.
#   bench/brambolt_startup/run.sh [RUNS]
# Needs the windows preset built in build/windows (Brambolt.exe) and an X display in DISPLAY
# (for example: Xvfb :93 -screen 0 1280x1024x24 & DISPLAY=:93). Uses its own Wine prefix.
set -eu
runs=${1:-15}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/windows}
out=$build/bench-startup
: "${DISPLAY:?an X display is needed}"

cmake -S "$here" -B "$out/tools" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$out/tools" >/dev/null

# Brambolt needs its driver file beside it; any file serves for start-up.
mkdir -p "$out/install"
cp "$build/brambolt/app/Brambolt.exe" "$out/install/"
: >"$out/install/TarnBrambolt.sys"

export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || "$root/scripts/wine-prefix.sh" create "$WINEPREFIX" >/dev/null
wine "$out/tools/startup_timer.exe" "$runs" \
    "$(winepath -w "$out/install/Brambolt.exe")" "Vorlin文件夹隐藏保护 V1.3" \
    "$(winepath -w "$out/tools/empty_dialog.exe")" "Empty dialog"
wineserver -k
