#!/bin/sh
# Runs a Windows program under Wine in the prefix named by WINEPREFIX (set by the test fixtures).
: "${WINEPREFIX:?WINEPREFIX must name the test run's Wine prefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
