#!/bin/sh
# Draws Brambolt's icon (a shield with a keyhole, 16, 32 and 48 pixels) into brambolt.ico.
# Run by hand when the icon changes; the build uses the committed file.
set -eu
cd "$(dirname "$0")"
for size in 16 32 48; do
    convert -size 48x48 xc:none \
        -fill '#1f5fa8' -draw 'polygon 24,3 43,10 41,28 24,45 7,28 5,10' \
        -fill '#f2c230' -draw 'circle 24,20 24,14' \
        -fill '#f2c230' -draw 'polygon 21,22 27,22 29,35 19,35' \
        -resize "${size}x${size}" "icon-$size.png"
done
convert icon-16.png icon-32.png icon-48.png brambolt.ico
rm -f icon-16.png icon-32.png icon-48.png
