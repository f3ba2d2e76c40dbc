#!/usr/bin/env bash
# Renders the demo's sample image: one English and one Chinese line, black on white.
set -euo pipefail
cd "$(dirname "$0")/.."
/usr/bin/python3 tools/render_text.py samples/sample-text.png \
    "Glyphsnap reads the text in an image." "识别图片中的文字" --size 32
