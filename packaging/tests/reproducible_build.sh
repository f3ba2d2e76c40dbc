#!/usr/bin/env bash
# Two builds of the same sources in two folders give byte-identical files: the programs and the
# installer of this build tree are compared with those of a fresh build of a copy of the sources
# elsewhere.
#   reproducible_build.sh SOURCE_DIR TOOLCHAIN SCRATCH FILE=TARGET...
# Only the named targets (and what they are made from) are built there, in one build command, so
# the host test programs' folder names nothing. No compiler launcher is used: every object is
# compiled again.
set -euo pipefail
source_dir=$1 toolchain=$2 scratch=$3
shift 3

rm -rf "$scratch"
mkdir -p "$scratch/copy"
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
    xargs -0 cp --parents -t "$scratch/copy")
targets=()
for pair in "$@"; do targets+=("${pair#*=}"); done
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
cmake -S "$scratch/copy" -B "$scratch/build" -G Ninja --toolchain "$scratch/copy/${toolchain#"$source_dir"/}" \
    -DCMAKE_BUILD_TYPE=Release -DGLYPHSNAP_HOST_TEST_DIR="$scratch/no-host-tests" >/dev/null
cmake --build "$scratch/build" -j2 --target "${targets[@]}" >/dev/null

status=0
for pair in "$@"; do
    program=${pair%%=*}
    other=$(find "$scratch/build" -name "$(basename "$program")" -type f | head -1)
    if cmp -s "$program" "$other"; then
        echo "identical: $(basename "$program") ($(stat -c %s "$program") bytes)"
    else
        echo "DIFFERENT: $program and $other"
        cmp -l "$program" "$other" | head -5
        status=1
    fi
done
rm -rf "$scratch"
exit $status
