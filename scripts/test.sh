#!/usr/bin/env bash
# Runs the test tiers: native, Windows under Wine (with an Xvfb display for the windows), the
# fuzzing smoke runs and the native unit tests under ASan and UBSan. Builds first, so it always
# tests the sources as they are.
#   bash scripts/test.sh                  every tier
#   bash scripts/test.sh native sanitize  the named tiers only
set -uo pipefail
cd "$(dirname "$0")/.."

tiers=("$@")
[ "${#tiers[@]}" -gt 0 ] || tiers=(native windows fuzz sanitize)

xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

# Starts an Xvfb on a free display and waits, for at most ten seconds, until it accepts clients.
start_display() {
    local display tries
    for display in $(seq 90 99); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for tries in $(seq 100); do
            if xdpyinfo -display ":$display" >/dev/null 2>&1; then
                export DISPLAY=":$display"
                return 0
            fi
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
    done
    echo "no Xvfb display could be started: the end-to-end scenes will be skipped" >&2
    return 1
}

if [ -z "${DISPLAY:-}" ] && [[ " ${tiers[*]} " == *" windows "* ]]; then
    start_display
fi

status=0
for preset in "${tiers[@]}"; do
    echo "=== $preset tier"
    # The black-box tests of Glyphsnap.exe run the native build's test programs.
    if [ "$preset" = windows ]; then
        cmake --preset native >/dev/null && cmake --build --preset native || { status=1; continue; }
    fi
    cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || { status=1; continue; }
    ctest --preset "$preset" || status=1
done
exit $status
