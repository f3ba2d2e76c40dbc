#!/bin/sh
# wine-prefix.sh create PREFIX:      makes a booted Wine prefix, with CJK fonts mapped so that
#                                    dialogs and screenshots show Chinese text. A prefix made by the
#                                    same Wine and the same script is kept while its registry is
#                                    as made: the tests never run in it, only in copies (below).
# wine-prefix.sh copy TEMPLATE PREFIX: a fresh prefix that is a copy of the booted TEMPLATE, made in
#                                    a second instead of another wineboot.
# wine-prefix.sh stop PREFIX:        ends the prefix's wineserver and everything running in it.
set -eu
action=$1
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# What a prefix was made by: the Wine version and this script's own text.
maker_stamp() {
    printf '%s %s\n' "$(wine --version)" "$(cksum <"$0")"
}

# PREFIX: stops its wineserver (if any) and removes it.
remove_prefix() {
    if [ -d "$1" ]; then
        WINEPREFIX="$1" wineserver -k 2>/dev/null || true
        rm -rf "$1"
    fi
}

case "$action" in
create)
    prefix=$2
    export WINEPREFIX="$prefix"
    stamp="$prefix/.made-by"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(maker_stamp)" ] &&
        [ -z "$(find "$prefix" -maxdepth 1 -name '*.reg' -newer "$stamp")" ]; then
        echo "wine prefix ready (kept): $prefix"
        exit 0
    fi
    remove_prefix "$prefix"
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
    maker_stamp >"$stamp"
    echo "wine prefix ready: $prefix"
    ;;
copy)
    template=$2 prefix=$3
    [ -f "$template/.made-by" ] || { echo "no booted prefix at $template" >&2; exit 1; }
    remove_prefix "$prefix"
    mkdir -p "$prefix"
    # Wine's own program files and data tables (about 700 MB) are only ever read: they are hard
    # links to the template's. Everything else (the registry, ini files, the hosts file, ...) may
    # be written by the tests and is a copy of its own.
    cp -a --link "$template/." "$prefix/"
    find "$prefix" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
        -o -iname '*.sys' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' \
        -o -iname '*.tlb' -o -iname '*.ds' -o -iname '*.com' -o -iname '*.nls' \
        -o -iname '*.msstyles' -o -iname '*.manifest' -o -iname '*.inf' -o -iname '*.pnf' \
        -o -iname '*.icm' \) -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' \
        copy {} +
    ;;
stop)
    prefix=$2
    [ -d "$prefix" ] && { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; }
    ;;
*)
    echo "usage: $0 create PREFIX | copy TEMPLATE PREFIX | stop PREFIX" >&2
    exit 2
    ;;
esac
