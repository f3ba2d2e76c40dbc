#!/bin/sh
# wine-prefix.sh create PREFIX: makes a fresh Wine prefix for one test run, with CJK fonts mapped so
#                               that dialogs and screenshots show Chinese text.
# wine-prefix.sh stop PREFIX:   ends the prefix's wineserver and everything running in it.
set -eu
action=$1
prefix=$2
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

case "$action" in
create)
    if [ -d "$prefix" ]; then
        wineserver -k 2>/dev/null || true
        rm -rf "$prefix"
    fi
    mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    cjk="WenQuanYi Micro Hei"
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "SimSun" "宋体" "NSimSun" "新宋体" \
                "Microsoft YaHei" "微软雅黑" "MS Sans Serif" "Segoe UI"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$cjk" /f \
            >/dev/null 2>&1
    done
    wineserver -w
    wineserver -k 2>/dev/null || true
    echo "wine prefix ready: $prefix"
    ;;
stop)
    [ -d "$prefix" ] && { wineserver -k 2>/dev/null || true; }
    ;;
*)
    echo "usage: $0 create|stop PREFIX" >&2
    exit 2
    ;;
esac
