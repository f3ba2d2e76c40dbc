#!/usr/bin/env bash
# Long fuzzing run, not part of CI: every libFuzzer target for MINUTES minutes each, one after the
# other, on its kept seed corpus (fuzz/corpus/TARGET, read only) plus a working corpus in the build
# folder that keeps what earlier long runs found. Prints one line per target: executions, coverage
# (edges and features), corpus size and any crash, whose input libFuzzer writes to the artifacts
# folder. The time-out of one input is a minute: a large image takes seconds under the sanitizers
# on a busy machine, and only a hang is worth stopping for.
#   fuzz/run_long.sh MINUTES [TARGET ...]
set -uo pipefail
cd "$(dirname "$0")/.."

minutes=${1:?usage: fuzz/run_long.sh MINUTES [TARGET ...]}
shift
[[ "$minutes" =~ ^[0-9]+$ ]] && [ "$minutes" -gt 0 ] || { echo "MINUTES must be a whole number above 0" >&2; exit 2; }

build=build/fuzz
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || exit 1

targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
    for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

artifacts="$build/fuzz/long_run_artifacts"
mkdir -p "$artifacts"
failed=0
printf '%-22s %14s %8s %8s %8s  %s\n' target executions edges features corpus result
for target in "${targets[@]}"; do
    program="$build/fuzz/$target"
    [ -x "$program" ] || { echo "$target: no such fuzz target in $build/fuzz" >&2; failed=1; continue; }
    work="$build/fuzz/${target}_corpus"
    log="$artifacts/$target.log"
    mkdir -p "$work"
    ASAN_OPTIONS=detect_leaks=1 "$program" -max_total_time=$((minutes * 60)) -rss_limit_mb=2048 \
        -timeout=60 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
        "$work" "fuzz/corpus/$target" >"$log" 2>&1
    code=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    edges=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    features=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corpus=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
    if [ "$code" -eq 0 ]; then
        result="no crash"
    else
        result="FAILED (exit $code): $(grep -m1 -E 'ERROR:|SUMMARY:|Test unit written' "$log")"
        failed=1
    fi
    printf '%-22s %14s %8s %8s %8s  %s\n' "$target" "${executions:-?}" "${edges:-?}" \
        "${features:-?}" "${corpus:-?}" "$result"
done
echo "logs and crash inputs: $artifacts"
exit $failed
