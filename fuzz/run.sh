#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 60),
# starting from the corpus kept beside this script; prints executions per
# second and the total for each. A finding stops with its input saved.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash tools/deps.sh clang libclang-rt-dev
CXX=clang++ cmake -S . -B build-fuzz -DZULCALC_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null

# A box holds a few dozen characters: the reading is fuzzed at that length,
# as longer inputs only slow every run (its corpus's long texts, long-*, are
# read cut to it; numbers_test reads texts of thousands). Seven texts between
# bars may run longer.
declare -A max_len=([parse]=64 [press]=4096)
for target in parse press; do
    work=$(mktemp -d)
    # New inputs go to the scratch folder; the kept corpus is only read.
    if ! build-fuzz/fuzz/${target}_fuzz -max_total_time="$seconds" -max_len="${max_len[$target]}" \
        -print_final_stats=1 -artifact_prefix="$work/" "$work" "fuzz/corpus/$target" >"$work/log" 2>&1; then
        tail -n 40 "$work/log"
        echo "fuzz: $target found a fault; input saved in $work" >&2
        exit 1
    fi
    echo "fuzz: $target: no fault in $seconds s:" $(sed -n 's/^stat::number_of_executed_units: *\(.*\)/\1 executions,/p; s/^stat::average_exec_per_sec: *\(.*\)/\1 per second/p' "$work/log")
    rm -rf "$work"
done
