#!/bin/sh
# Runs a Windows program under Wine in the prefix named by WINEPREFIX (set by the test fixtures).
#   wine-run.sh PROGRAM.exe ARGS...        the program under Wine
#   wine-run.sh --host PROGRAM ARGS...     a Linux test program that runs Windows programs itself
#                                          (through this script, without --host)
# With WINE_PREFIX_TEMPLATE set, WINEPREFIX is first made a fresh copy of that booted prefix, so
# that each test has a registry, data folders and a wineserver of its own and tests run side by
# side; the copy is removed after a pass and kept for a look after a failure. The programs started
# inside find WINE_PREFIX_TEMPLATE unset and share that copy. With DISPLAY set and an X display
# allotted by CTest (a "displays" resource whose id is the display number), the program runs on
# that display, so that no two tests' windows meet.
: "${WINEPREFIX:?WINEPREFIX must name the test run's Wine prefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

allotted=${CTEST_RESOURCE_GROUP_0_DISPLAYS:-}
if [ -n "${DISPLAY:-}" ] && [ -n "$allotted" ]; then
    allotted=${allotted#id:}
    export DISPLAY=":${allotted%%,*}"
fi

run="wine"
if [ "${1:-}" = "--host" ]; then
    run=""
    shift
fi

if [ -z "${WINE_PREFIX_TEMPLATE:-}" ]; then
    exec $run "$@"
fi
"$(dirname "$0")/wine-prefix.sh" copy "$WINE_PREFIX_TEMPLATE" "$WINEPREFIX" || exit 1
unset WINE_PREFIX_TEMPLATE
status=0
$run "$@" || status=$?
wineserver -k 2>/dev/null || true
[ "$status" -ne 0 ] || rm -rf "$WINEPREFIX"
exit "$status"
