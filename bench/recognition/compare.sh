#!/usr/bin/env bash
# Glyphsnap against the tesseract command line (OMP_THREAD_LIMIT=1, LSTM engine) on the same PNG
# and language: per request through a running Glyphsnap, timed in turn with the command line, and
# whole processes under /usr/bin/time. Also the enhancement and engine benchmarks when built.
#   bash bench/recognition/compare.sh [BUILD_FOLDER] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/native}
runs=${2:-10}
program=$build/glyphsnap/glyphsnap
images=$(mktemp -d)
trap 'rm -rf "$images"' EXIT
"$here/render_bench_images.sh" "$images"
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8  # English: the last resort of the language choice

cores=$(nproc)
echo "== Cores: $cores (Glyphsnap reads a full page on $((cores < 2 ? cores : 2)) engines);" \
    "load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== Per request (medians of $runs, in turn)"
for image in page-1280x720 label-300x60; do
    "$here/request_latency.py" --program "$program" --image "$images/$image.png" --runs "$runs"
done

echo "== Whole process, one request each (/usr/bin/time, wall seconds)"
for image in page-1280x720 label-300x60; do
    /usr/bin/python3 "$here/../../tools/gsframe.py" --image "$images/$image.png" >"$images/$image.frames"
    for ((i = 0; i < 3; i++)); do
        /usr/bin/time -f "glyphsnap $image %e s %M KiB" "$program" <"$images/$image.frames" >/dev/null
        OMP_THREAD_LIMIT=1 /usr/bin/time -f "tesseract $image %e s %M KiB" \
            tesseract "$images/$image.png" stdout --oem 1 -l eng >/dev/null 2>"$images/time.log" ||
            true
        tail -1 "$images/time.log"
    done
done

for benchmark in bench_ocr_enhance bench_tesseract_engine; do
    if [ -x "$build/bench/recognition/$benchmark" ]; then
        echo "== $benchmark"
        "$build/bench/recognition/$benchmark" --benchmark_repetitions=5 \
            --benchmark_report_aggregates_only=true 2>/dev/null | grep -E 'median'
    fi
done
