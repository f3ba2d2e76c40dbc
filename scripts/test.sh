#!/usr/bin/env bash
# Runs every test tier: native, Windows under Wine (with an Xvfb display for the windows), and the
# fuzzing smoke runs. Builds first, so it always tests the sources as they are.
set -uo pipefail
cd "$(dirname "$0")/.."

xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    for display in $(seq 90 99); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$display"
        sleep 1
        break
    done
fi

status=0
for preset in native windows fuzz; do
    echo "=== $preset tier"
    cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || { status=1; continue; }
    ctest --preset "$preset" || status=1
done
exit $status
