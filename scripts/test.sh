#!/usr/bin/env bash
# Runs the test tiers: native, Windows under Wine (with Xvfb displays for the windows), the
# fuzzing smoke runs and the native unit tests under ASan and UBSan. Builds first, so it always
# tests the sources as they are. Each tier runs its tests side by side (the test presets' job
# counts); the Windows tests each get a Wine prefix and an X display of their own.
#   bash scripts/test.sh                  every tier
#   bash scripts/test.sh native sanitize  the named tiers only
# WINDOWS_TEST_JOBS sets how many Windows tests run at once (default 4: they mostly wait on
# windows and Wine, so more than the two cores).
set -uo pipefail
cd "$(dirname "$0")/.."

tiers=("$@")
[ "${#tiers[@]}" -gt 0 ] || tiers=(native windows fuzz sanitize)
windows_jobs=${WINDOWS_TEST_JOBS:-4}

xvfb_pids=()
displays=()
cleanup() {
    local pid
    for pid in "${xvfb_pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
}
trap cleanup EXIT

# Starts an Xvfb on DISPLAY_NUMBER and waits, for at most ten seconds, until it accepts clients.
start_display() {
    local display=$1 pid tries
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && return 1
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for tries in $(seq 100); do
        if xdpyinfo -display ":$display" >/dev/null 2>&1; then
            xvfb_pids+=("$pid")
            displays+=("$display")
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    return 1
}

# Starts up to COUNT displays among :90 to :99 and writes the CTest resource file that hands one to
# each Windows test. DISPLAY names the first.
start_displays() {
    local count=$1 spec=$2 display ids=()
    for display in $(seq 90 99); do
        [ "${#displays[@]}" -lt "$count" ] || break
        start_display "$display" || true
    done
    if [ "${#displays[@]}" -eq 0 ]; then
        echo "no Xvfb display could be started: the end-to-end scenes will be skipped" >&2
        return 1
    fi
    export DISPLAY=":${displays[0]}"
    for display in "${displays[@]}"; do
        ids+=("{\"id\": \"$display\", \"slots\": 1}")
    done
    local IFS=,
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"displays": [%s]}]}\n' "${ids[*]}" \
        >"$spec"
}

status=0
for preset in "${tiers[@]}"; do
    echo "=== $preset tier"
    # The black-box tests of Glyphsnap.exe run the native build's test programs.
    if [ "$preset" = windows ]; then
        cmake --preset native >/dev/null && cmake --build --preset native || { status=1; continue; }
    fi
    cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || { status=1; continue; }
    ctest_options=()
    if [ "$preset" = windows ]; then
        spec="$PWD/build/windows/displays.json"
        rm -f "$spec"
        if [ -z "${DISPLAY:-}" ] || [ "$windows_jobs" -gt 1 ]; then
            [ -n "${DISPLAY:-}" ] && echo "the Windows tests use displays of their own, not $DISPLAY"
            start_displays "$windows_jobs" "$spec" &&
                ctest_options=(-j "${#displays[@]}" --resource-spec-file "$spec")
        fi
    fi
    ctest --preset "$preset" "${ctest_options[@]}" || status=1
done
exit $status
