#!/usr/bin/env bash
# Runs every benchmark and prints each figure next to a reference tool measured
# in the same run, with the ratio and its goal. Builds the benchmark programs
# in Release into build-bench/ and keeps generated data in build-bench/data/.
# Needs no network access and no root.
#
#   bash bench/run.sh            (TOVIX_BENCH_RUNS=N sets the number of runs)
#
# Each benchmark is one section at the end of this file, using the helpers.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build-bench"
DATA="$BUILD/data"
RUNS=${TOVIX_BENCH_RUNS:-9}
MB=$((1024 * 1024))

# --- Helpers ----------------------------------------------------------------

section() {
    echo
    echo "== $*"
}

# Median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Wall time of one run of a command in milliseconds; its output is dropped.
time_ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.2f\n", ns / 1e6 }'
}

# reference_median_ms N COMMAND...: runs a reference tool N times (after one
# untimed run) and prints the median wall time in milliseconds.
reference_median_ms() {
    local runs=$1
    shift
    "$@" >/dev/null
    local i
    for ((i = 0; i < runs; i++)); do
        time_ms "$@"
    done | median
}

# ratio A B: A / B with two decimals.
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

# megabytes BYTES: the size in MB (1,048,576 bytes) with one decimal.
megabytes() {
    awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'
}

# verdict RATIO GOAL: "ok" or "MISSED" for a ratio that must stay <= GOAL.
verdict() {
    awk -v r="$1" -v g="$2" 'BEGIN { print (r <= g ? "ok" : "MISSED") }'
}

# Reads the page cache in, so that every run measures the same warm state.
warm_cache() {
    cat "$@" >/dev/null
}

# field NAME: the value of the "NAME value" line in $RESULT.
field() {
    awk -v name="$1" '$1 == name { print $2 }' <<<"$RESULT"
}

# --- Build ------------------------------------------------------------------

section "Build (Release) in $BUILD"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTOVIX_BUILD_GUI=OFF >/dev/null
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target benchmarks >/dev/null
mkdir -p "$DATA"
echo "built; $RUNS runs per figure"

# --- Line store load --------------------------------------------------------

section "Line store load"
DICT="$DATA/dictionary-50mb.txt"
if [ ! -f "$DICT" ]; then
    "$BUILD/bench/GenerateDictionaryText" "$DICT" $((50 * MB))
fi
warm_cache "$DICT"
WC_MS=$(reference_median_ms "$RUNS" wc -l "$DICT")
WC_LINES=$(wc -l <"$DICT")
RESULT=$("$BUILD/bench/LineStoreLoadBench" "$DICT" "$RUNS")
FILE_BYTES=$(field file_bytes)
SIZE="$(megabytes "$FILE_BYTES") MB"
LOAD_MS=$(field reload_median_ms)
FRESH_MS=$(field fresh_median_ms)
STORE_BYTES=$(field store_bytes)
LOAD_RATIO=$(ratio "$LOAD_MS" "$WC_MS")
FRESH_RATIO=$(ratio "$FRESH_MS" "$WC_MS")
MEMORY_RATIO=$(ratio "$STORE_BYTES" "$FILE_BYTES")
echo "file: $SIZE, $(field lines) lines in the store, $WC_LINES by wc -l"
echo "line store load $SIZE: $LOAD_MS ms; wc -l: $WC_MS ms; ratio $LOAD_RATIO (goal <= 3) $(verdict "$LOAD_RATIO" 3)"
echo "  into a new store each time: $FRESH_MS ms; ratio $FRESH_RATIO"
echo "  first load of the process: $(field first_load_ms) ms"
echo "memory: $(megabytes "$STORE_BYTES") MB for a $SIZE file; ratio $MEMORY_RATIO (goal <= 1.5) $(verdict "$MEMORY_RATIO" 1.5)"
echo "  (resident set growth over the first load, read from /proc/self/statm)"
