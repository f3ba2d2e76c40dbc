#!/usr/bin/env bash
# Runs clang-tidy (config .clang-tidy) on the given files with the compile commands of a build:
#   bash scripts/tidy.sh native glyphsnap/recognition/tesseract/page_reader.cpp
#   bash scripts/tidy.sh windows brambolt/framework/dialog.cpp
# clang does not find the C++ library of mingw-w64's posix compilers by itself, so the windows
# build's commands are given its folders.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1
shift
args=()
if [ "$preset" = windows ]; then
    library=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++ | sort -V | tail -n 1)
    for folder in "$library" "$library/x86_64-w64-mingw32" "$library/backward"; do
        args+=("--extra-arg=-isystem$folder")
    done
fi
exec clang-tidy -p "build/$preset" "${args[@]}" "$@"
