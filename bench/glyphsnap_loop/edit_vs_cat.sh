#!/usr/bin/env bash
# Whole-process cost of Glyphsnap serving one edit request with an image of SIZE_MIB, against cat
# copying the same framed bytes into a file.
#   bench/glyphsnap_loop/edit_vs_cat.sh [SIZE_MIB] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
size_mib=${1:-16}
runs=${2:-5}
glyphsnap=build/native/glyphsnap/glyphsnap
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$work/image.bin"
/usr/bin/env python3 tools/gsframe.py --image "$work/image.bin" --action edit_image >"$work/frames.bin"

export TMPDIR="$work" GLYPHSNAP_PAINT=/bin/true
for tool in glyphsnap cat; do
    total=0
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        if [ "$tool" = glyphsnap ]; then
            "$glyphsnap" <"$work/frames.bin" >/dev/null
        else
            cat "$work/frames.bin" >"$work/copy.bin"
        fi
        total=$((total + $(date +%s%N) - start))
    done
    echo "$tool: $((total / runs / 1000000)) ms mean over $runs runs (${size_mib} MiB image)"
done
