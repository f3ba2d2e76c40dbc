#!/usr/bin/env bash
# The main job: sends an image to Glyphsnap through its framed protocol, prints the reply and the
# recognised text.
#   bash scripts/demo.sh [IMAGE]
# GLYPHSNAP names the program (default: the native build's). The recognizer follows the locale;
# the sample holds an English and a Chinese line, so unless GLYPHSNAP_LANG says otherwise the
# demo runs with a Simplified Chinese profile, which brings English along.
set -euo pipefail
cd "$(dirname "$0")/.."
image=${1:-samples/sample-text.png}
program=${GLYPHSNAP:-build/native/glyphsnap/glyphsnap}
profile=${GLYPHSNAP_LANG:-zh_CN.UTF-8}
echo "Recognising $image with $program (LANG=$profile):"
reply=$(LANG=$profile LANGUAGE= LC_ALL= LC_MESSAGES= \
    /usr/bin/python3 tools/gsframe.py --program "$program" --image "$image")
echo "$reply"
echo "Text:"
/usr/bin/python3 -c 'import json, sys; sys.stdout.write(json.loads(sys.argv[1])["data"].replace("\r\n", "\n"))' "$reply"
