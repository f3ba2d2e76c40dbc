#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for the project and runs the main job as soon as it can: a
# sample image sent to Glyphsnap through its framed protocol, with the reply printed. Then it builds
# the rest of the native build and the Windows build; the fuzz and sanitize builds are left to
# scripts/test.sh, which builds every tier before testing it.
#   bash scripts/setup.sh              install, build Glyphsnap, run the main job, build the rest
#   bash scripts/setup.sh --no-demo    install and build only
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    # toolchains and build
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    # libraries
    googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    libtesseract-dev libleptonica-dev libjpeg62-turbo-dev
    tesseract-ocr tesseract-ocr-eng tesseract-ocr-chi-sim
    # running and testing the Windows programs
    wine wine64 xvfb xauth x11-utils fonts-wqy-microhei fonts-dejavu-core
    # tools and test image rendering, formatting and linting
    python3 python3-pil imagemagick clang-format clang-tidy
    # the evaluation set's real documentation and its renderer (Playwright, through the npm that
    # comes with nodejs, drives the Chromium below)
    cmake-doc manpages-zh man2html-base nodejs
    # the browser whose extension calls the installed Glyphsnap as a native-messaging host
    chromium
    # memory checking of the built programs
    valgrind
    # release packaging: the Windows installer (NSIS runs on Linux) and the zip
    nsis zip
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The main job needs the native Glyphsnap alone.
cmake --preset native >/dev/null
cmake --build --preset native --target glyphsnap
if [ "${1:-}" != "--no-demo" ]; then
    bash scripts/demo.sh
fi

# The rest of the native build, and the Windows build, whose tests use the native test programs.
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows
