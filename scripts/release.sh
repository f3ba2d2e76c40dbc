#!/usr/bin/env bash
# Builds a release of the committed tree into dist/:
#   BramboltSetup-<version>.exe    one installer for both programs (needs --driver)
#   Glyphsnap-<version>-win64.zip  Glyphsnap.exe for programs that carry it with them
#   glyphsnap_<version>_amd64.deb  Glyphsnap for Debian 12
#   SHA256SUMS                     over all of them
#
#   bash scripts/release.sh [--driver PATH] [--verify]
#
# --driver names the vendor's signed TarnBrambolt.sys, which is not part of this project; without
# it the installer is not built. --verify builds everything a second time in another folder and
# compares the two byte for byte. The build runs on a copy of HEAD (git archive) with fixed paths
# and dates (SOURCE_DATE_EPOCH is the commit's time), so the same commit gives the same files.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

driver=""
verify=0
while [ $# -gt 0 ]; do
    case "$1" in
    --driver) driver=$(realpath "${2:?--driver needs a path}"); shift 2 ;;
    --driver=*) driver=$(realpath "${1#--driver=}"); shift ;;
    --verify) verify=1; shift ;;
    -h | --help) sed -n '2,15p' "$0"; exit 0 ;;
    *) echo "release: unknown argument $1" >&2; exit 2 ;;
    esac
done
if [ -n "$driver" ] && [ ! -f "$driver" ]; then
    echo "release: no driver file at $driver" >&2
    exit 2
fi
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release: the tree has uncommitted changes; the release is built from HEAD only" >&2
    exit 2
fi

version=$(sed -n 's/^project(Vorlin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

work=$(mktemp -d "${TMPDIR:-/tmp}/vorlin-release.XXXXXX")
trap 'rm -rf "$work"' EXIT

# build_release FOLDER: the whole release of HEAD, built inside FOLDER, into FOLDER/out.
build_release() {
    local folder=$1
    mkdir -p "$folder/src" "$folder/out"
    git archive --format=tar HEAD | tar -x -C "$folder/src"

    local targets=(Brambolt glyphsnap)
    [ -n "$driver" ] && targets+=(brambolt_installer)
    cmake -S "$folder/src" -B "$folder/windows" -G Ninja \
        --toolchain "$folder/src/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBRAMBOLT_DRIVER_FILE="$driver" \
        -DGLYPHSNAP_HOST_TEST_DIR="$folder/native/glyphsnap/tests/blackbox" >/dev/null
    cmake --build "$folder/windows" -j2 --target "${targets[@]}" >/dev/null
    # The package needs only the program and its module, not the whole tree's tests.
    cmake -S "$folder/src" -B "$folder/native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_BENCHMARKS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
    cmake --build "$folder/native" -j2 --target glyphsnap glyphsnap_recognizer >/dev/null

    if [ -n "$driver" ]; then
        cp "$folder/windows/BramboltSetup-$version.exe" "$folder/out/"
    fi
    (cd "$folder/native" && cpack -B "$folder/packages" >/dev/null)
    cp "$folder/packages/glyphsnap_${version}_amd64.deb" "$folder/out/"

    # The zip holds fixed dates and no extra attributes, in a fixed order.
    local stage="$folder/zip/Glyphsnap-$version-win64"
    mkdir -p "$stage"
    cp "$folder/windows/glyphsnap/Glyphsnap.exe" "$stage/"
    cp "$folder/src/README.md" "$stage/"
    touch -d "@$SOURCE_DATE_EPOCH" "$stage" "$stage"/*
    (cd "$folder/zip" && zip -X -q -D "$folder/out/Glyphsnap-$version-win64.zip" \
        "Glyphsnap-$version-win64/Glyphsnap.exe" "Glyphsnap-$version-win64/README.md")
    (cd "$folder/out" && sha256sum -- * >SHA256SUMS)
}

build_release "$work/first"
if [ "$verify" -eq 1 ]; then
    build_release "$work/second"
    if ! diff -r "$work/first/out" "$work/second/out" >/dev/null; then
        echo "release: two builds of $(git rev-parse --short HEAD) differ:" >&2
        (cd "$work/first/out" && cmp -l -- * 2>/dev/null | head -5) >&2 || true
        diff "$work/first/out/SHA256SUMS" "$work/second/out/SHA256SUMS" >&2 || true
        exit 1
    fi
    echo "release: two builds in two folders are byte-identical"
fi

rm -rf "$root/dist"
mkdir -p "$root/dist"
cp "$work/first/out/"* "$root/dist/"
[ -n "$driver" ] || echo "release: BramboltSetup-$version.exe not built: give the vendor's signed TarnBrambolt.sys with --driver PATH"
(cd "$root/dist" && cat SHA256SUMS)
