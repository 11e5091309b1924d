#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz in build-fuzz/ with clang and runs each one for
# SECONDS (default 20), one line per target. Fails on any crash, leak, hang, sanitizer report or
# broken check. Each target works in build-fuzz/fuzz/<target>/: "seeds" is written afresh every
# run, "corpus" keeps what earlier runs found, and a failing input is left there as crash-*,
# leak-*, timeout-* or oom-* with the report in "log".
set -euo pipefail
seconds=${1:-20}
cd "$(dirname "$0")/.."
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzzers -j "$(nproc)" | grep -Ev '^\[[0-9]+/[0-9]+\] |no work to do' || true

# Inputs larger than what the parser meets in use only slow the search down.
max_len_of() {
    case $1 in
    fuzz_picture_loaders) echo 65536 ;;
    fuzz_service_pages) echo 16384 ;;
    *) echo 4096 ;;
    esac
}

failed=0
passed=0
for binary in "$build"/bin/fuzz_*; do
    name=$(basename "$binary")
    work=$build/fuzz/$name
    rm -rf "$work/seeds" "$work"/log
    mkdir -p "$work/corpus"
    "$binary" -seed_corpus_dir="$work/seeds" >/dev/null 2>&1
    options=(-max_total_time="$seconds" -max_len="$(max_len_of "$name")" -rss_limit_mb=2048
             -timeout=30 -print_final_stats=1 -artifact_prefix="$work/")
    dict=tests/fuzz/${name#fuzz_}.dict
    if [[ -f $dict ]]; then options+=(-dict="$dict"); fi
    status=0
    "$binary" "${options[@]}" "$work/corpus" "$work/seeds" >"$work/log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    coverage=$(grep -Eo 'cov: [0-9]+' "$work/log" | tail -1 || true)
    inputs=$(find "$work/corpus" -type f | wc -l)
    if [[ $status -ne 0 ]] || grep -Eq 'runtime error:|ERROR: (Address|Leak|Undefined)Sanitizer' "$work/log"; then
        printf '%-24s FAILED (exit %s), see %s\n' "$name" "$status" "$work/log"
        grep -E -A25 'ERROR:|runtime error:|deadly signal' "$work/log" | head -40 | sed 's/^/    /'
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
        printf '%-24s ok: %s runs, %s, %s inputs in corpus\n' "$name" "${runs:-?}" \
            "${coverage:-cov: ?}" "$inputs"
    fi
done
echo "fuzz: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
