#!/usr/bin/env bash
# The main job: sends the sample image to Glyphsnap through its framed protocol and prints the reply.
set -euo pipefail
cd "$(dirname "$0")/.."
image=${1:-samples/sample-text.png}
echo "Recognising $image with build/native/glyphsnap/glyphsnap:"
/usr/bin/env python3 tools/gsframe.py --program build/native/glyphsnap/glyphsnap --image "$image"
