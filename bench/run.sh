#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark and prints each figure next to a reference tool measured
# in the same run, with the ratio and its goal, and at the end one summary
# table of every figure (with the machine's load average when it was taken).
# Builds the benchmark programs in Release into build-bench/ and keeps
# generated data in build-bench/data/. Needs no network access and no root.
#
#   bash bench/run.sh              (TOVIX_BENCH_RUNS=N sets the number of runs)
#   TOVIX_BENCH_SIZE=smallest bash bench/run.sh
#
# The smallest size runs every benchmark once on small data (a few thousand
# EDICT entries, 20,000 generated ones) in the build given by
# TOVIX_BENCH_BUILD (default build/), so that the test command can check that
# every benchmark still measures. A missed goal is a figure, not a failure:
# the script exits 0. A benchmark that cannot measure stops the script with a
# non-zero exit status.
#
# Each benchmark is one section below, using the helpers.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SIZE_NAME=${TOVIX_BENCH_SIZE:-full}
MB=$((1024 * 1024))
case "$SIZE_NAME" in
full)
    BUILD=${TOVIX_BENCH_BUILD:-$ROOT/build-bench}
    DATA="$BUILD/data"
    RUNS=${TOVIX_BENCH_RUNS:-9}
    TOOL_RUNS=${TOVIX_BENCH_TOOL_RUNS:-3}
    TEXT_BYTES=$((50 * MB))
    PART_BYTES=$((10 * MB))
    GENERATED_ENTRIES=2000000
    GROWTH_ENTRIES=(1000000 2000000 4000000 8000000)
    LONG_LINE_SIZES=(1K 10M 100M)
    FIND_LINE_BYTES=$((2200 * MB))
    EDICT_ENTRIES=all
    LOOKUP_WORDS=1000
    KEYSTROKE_WORDS=600
    ;;
smallest)
    BUILD=${TOVIX_BENCH_BUILD:-$ROOT/build}
    DATA="$BUILD/bench-data-smallest"
    RUNS=${TOVIX_BENCH_RUNS:-1}
    TOOL_RUNS=${TOVIX_BENCH_TOOL_RUNS:-1}
    TEXT_BYTES=$((1 * MB))
    PART_BYTES=$((1 * MB))
    GENERATED_ENTRIES=20000
    GROWTH_ENTRIES=(10000 20000)
    LONG_LINE_SIZES=(1K 1M)
    FIND_LINE_BYTES=$((4 * MB))
    EDICT_ENTRIES=5000
    LOOKUP_WORDS=100
    KEYSTROKE_WORDS=60
    ;;
*)
    echo "TOVIX_BENCH_SIZE is full or smallest, not '$SIZE_NAME'" >&2
    exit 2
    ;;
esac

# --- Helpers ----------------------------------------------------------------

section() {
    echo
    echo "== $*"
}

# The one-minute load average of the machine.
load() {
    cut -d' ' -f1 /proc/loadavg
}

# cannot_measure MESSAGE: stops the script; a figure that cannot be measured
# is a failure of the benchmarks, unlike a missed goal.
cannot_measure() {
    echo "cannot measure: $*" >&2
    exit 1
}

# The rows of the summary table: figure, reference, ratio, goal, verdict, load.
SUMMARY=()

# summary FIGURE REFERENCE RATIO GOAL VERDICT: one row of the summary table.
summary() {
    SUMMARY+=("$1|$2|$3|$4|$5|$(load)")
}

print_summary() {
    local status=$?
    echo
    echo "== Summary ($SIZE_NAME size, $RUNS runs a figure; load: one-minute load average when taken)"
    {
        echo "figure|reference|ratio|goal|verdict|load"
        local row
        for row in ${SUMMARY[@]+"${SUMMARY[@]}"}; do
            echo "$row"
        done
    } | column -t -s '|'
    if [ "$status" -ne 0 ]; then
        echo "bench/run.sh stopped: a benchmark could not measure (status $status)" >&2
    fi
}
trap print_summary EXIT

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

# number VALUE WHAT: fails unless VALUE is a number.
number() {
    if ! [[ "$1" =~ ^-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?$ ]]; then
        cannot_measure "$2: no figure ('$1')"
    fi
}

# ratio A B: A / B with two decimals.
ratio() {
    number "$1" "ratio of '$1' to '$2'"
    number "$2" "ratio of '$1' to '$2'"
    awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) printf "inf"; else printf "%.2f", a / b }'
}

# megabytes BYTES: the size in MB (1,048,576 bytes) with one decimal.
megabytes() {
    awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'
}

# verdict RATIO GOAL: "ok" or "MISSED" for a ratio that must stay <= GOAL.
verdict() {
    awk -v r="$1" -v g="$2" 'BEGIN { print (r != "inf" && r <= g ? "ok" : "MISSED") }'
}

# verdict_below VALUE GOAL: "ok" or "MISSED" for a value that must stay < GOAL.
verdict_below() {
    awk -v r="$1" -v g="$2" 'BEGIN { print (r < g ? "ok" : "MISSED") }'
}

# percent_over A B: how many percent A is above B, with one decimal.
percent_over() {
    number "$1" "percentage of '$1' over '$2'"
    number "$2" "percentage of '$1' over '$2'"
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (a - b) * 100 / b }'
}

# Reads the page cache in, so that every run measures the same warm state.
warm_cache() {
    cat "$@" >/dev/null
}

# field NAME: the value of the "NAME value" line in $RESULT; a missing one
# means the benchmark did not measure.
field() {
    local value
    value=$(awk -v name="$1" '$1 == name { print $2 }' <<<"$RESULT")
    if [ -z "$value" ]; then
        cannot_measure "the benchmark printed no $1"
    fi
    echo "$value"
}

# --- Build ------------------------------------------------------------------

section "Build in $BUILD"
if [ -z "${TOVIX_BENCH_BUILD:-}" ]; then
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTOVIX_BUILD_GUI=ON "${launcher[@]}" >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target benchmarks tovix-tool >/dev/null
mkdir -p "$DATA"
echo "built; $RUNS runs per figure; load average $(cut -d' ' -f1-3 /proc/loadavg)"

# --- Line store load --------------------------------------------------------

section "Line store load"
DICT="$DATA/dictionary-$TEXT_BYTES.txt"
if [ ! -f "$DICT" ]; then
    "$BUILD/bench/GenerateDictionaryText" "$DICT" "$TEXT_BYTES"
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
summary "line store load $SIZE" "wc -l $WC_MS ms" "$LOAD_RATIO" "<= 3" "$(verdict "$LOAD_RATIO" 3)"
summary "line store memory $SIZE" "file size" "$MEMORY_RATIO" "<= 1.5" "$(verdict "$MEMORY_RATIO" 1.5)"

# --- Tools: the whole [EXM] to [TOVIX] chain ---------------------------------
#
# tovix-tool exm-to-tovix (convert, sort, pair file, table, split) on the
# imported EDICT, both directions, and on a generated E-J [EXM] of 2,000,000
# entries, next to GNU sort of a UTF-8 copy of the same entries in the C locale
# and in ja_JP.UTF-8. Goals: E-J at most 1.5 x and J-E 2 x the C-locale sort,
# E-J at most half the Japanese-locale sort; no larger peak resident set than
# StarDict's tabfile building the same entries.

section "Tools: [EXM] to [TOVIX] chain against sort"
TOOL="$BUILD/bin/tovix-tool"
TOOLS="$DATA/tools"
EDICT=/usr/share/edict/edict
mkdir -p "$TOOLS"
if [ "$EDICT_ENTRIES" != all ] && [ -r "$EDICT" ]; then
    # The header line and the first entries.
    if [ ! -f "$TOOLS/edict-head" ]; then
        head -n $((EDICT_ENTRIES + 1)) "$EDICT" >"$TOOLS/edict-head"
    fi
    EDICT="$TOOLS/edict-head"
fi

# The Japanese locale, compiled into the data directory when the system lacks
# it (localedef needs no root there; the locale sources come with "locales").
JA_ENV=(LC_ALL=ja_JP.UTF-8)
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    if [ ! -f /usr/share/i18n/locales/ja_JP ] && [ "$(id -u)" -eq 0 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends locales >/dev/null
    fi
    if [ ! -d "$DATA/locale/ja_JP.UTF-8" ]; then
        mkdir -p "$DATA/locale"
        localedef -i ja_JP -f UTF-8 "$DATA/locale/ja_JP.UTF-8"
    fi
    JA_ENV=(LOCPATH="$DATA/locale" LC_ALL=ja_JP.UTF-8)
fi
if [ -n "$(env "${JA_ENV[@]}" locale 2>&1 >/dev/null)" ]; then
    echo "the locale ja_JP.UTF-8 is not available; the Japanese sort would measure the C locale" >&2
    exit 1
fi

# measure N COMMAND...: runs the command N times and prints "MS KB": the
# median wall time in milliseconds and the largest peak resident set in KB.
measure() {
    local runs=$1
    shift
    local i start end stats="$TOOLS/.time" results=""
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        if ! /usr/bin/time -f "%M" -o "$stats" "$@" >/dev/null 2>"$TOOLS/.stderr"; then
            cat "$TOOLS/.stderr" >&2
            cannot_measure "failed: $*"
        fi
        end=$(date +%s%N)
        results+="$(awk -v ns=$((end - start)) 'BEGIN { printf "%.1f", ns / 1e6 }') $(tail -n 1 "$stats")"$'\n'
    done
    echo "$(cut -d' ' -f1 <<<"${results%$'\n'}" | median) $(cut -d' ' -f2 <<<"${results%$'\n'}" | sort -n | tail -n 1)"
}

# utf8_copy EXM: the name of a UTF-8 copy of the [EXM] file, made when missing.
utf8_copy() {
    local utf8="${1%.txt}.utf8.txt"
    if [ ! "$utf8" -nt "$1" ]; then
        iconv -f CP932 -t UTF-8 "$1" >"$utf8"
    fi
    echo "$utf8"
}

# chain_against_sort LABEL --eng|--jpn EXM C_GOAL JA_GOAL: one data set; the
# goals are the largest ratios of the chain's time to the two sorts' ("-":
# none).
chain_against_sort() {
    local label=$1 direction=$2 exm=$3 c_goal=$4 ja_goal=$5
    local utf8
    utf8=$(utf8_copy "$exm")
    warm_cache "$exm" "$utf8"
    local chain c_sort ja_sort
    chain=($(measure "$TOOL_RUNS" "$TOOL" --yes exm-to-tovix "$direction" "$exm" "$TOOLS/OUT.DIC"))
    c_sort=($(measure "$TOOL_RUNS" env LC_ALL=C sort "$utf8"))
    ja_sort=($(measure "$TOOL_RUNS" env "${JA_ENV[@]}" sort "$utf8"))
    local c_ratio ja_ratio memory_ratio
    c_ratio=$(ratio "${chain[0]}" "${c_sort[0]}")
    ja_ratio=$(ratio "${chain[0]}" "${ja_sort[0]}")
    memory_ratio=$(ratio "${chain[1]}" "${ja_sort[1]}")
    echo "$label: $(wc -l <"$exm") entries, [EXM] $(megabytes "$(stat -c %s "$exm")") MB," \
        "UTF-8 copy $(megabytes "$(stat -c %s "$utf8")") MB; median of $TOOL_RUNS runs"
    printf '  %-26s %9s ms  peak %7s MB\n' "exm-to-tovix $direction" "${chain[0]}" \
        "$(megabytes $((chain[1] * 1024)))"
    printf '  %-26s %9s ms  peak %7s MB  (chain/sort: time %s, memory %s)\n' "LC_ALL=C sort" \
        "${c_sort[0]}" "$(megabytes $((c_sort[1] * 1024)))" "$c_ratio" \
        "$(ratio "${chain[1]}" "${c_sort[1]}")"
    printf '  %-26s %9s ms  peak %7s MB  (chain/sort: time %s, memory %s)\n' \
        "LC_ALL=ja_JP.UTF-8 sort" "${ja_sort[0]}" "$(megabytes $((ja_sort[1] * 1024)))" \
        "$ja_ratio" "$memory_ratio"
    goal_row "$label build ${chain[0]} ms" "LC_ALL=C sort ${c_sort[0]} ms" "$c_ratio" "$c_goal"
    goal_row "$label build ${chain[0]} ms" "LC_ALL=ja_JP.UTF-8 sort ${ja_sort[0]} ms" "$ja_ratio" "$ja_goal"
    CHAIN_PEAK_KB=${chain[1]}
}

# goal_row FIGURE REFERENCE RATIO GOAL: a summary row for a ratio that must
# stay <= GOAL, or that has no goal ("-").
goal_row() {
    if [ "$4" = - ]; then
        summary "$1" "$2" "$3" - -
    else
        summary "$1" "$2" "$3" "<= $4" "$(verdict "$3" "$4")"
    fi
}

# The peak resident set in KB of StarDict's tabfile building a dictionary of
# the same entries (UTF-8, TAB between headword and translation), or nothing
# when stardict-tools is not installed.
TABFILE=$(command -v tabfile || echo /usr/lib/stardict-tools/tabfile)
tabfile_peak_kb() {
    if [ ! -x "$TABFILE" ]; then
        return
    fi
    local dir="$TOOLS/tabfile"
    mkdir -p "$dir"
    tr -d '\r' <"$(utf8_copy "$1")" >"$dir/entries.tab"
    local peak
    peak=($(measure "$TOOL_RUNS" "$TABFILE" "$dir/entries.tab"))
    echo "${peak[1]}"
}

# memory_against_tabfile LABEL EXM: the chain's peak of the last
# chain_against_sort next to tabfile's on the same entries.
memory_against_tabfile() {
    local peak
    peak=$(tabfile_peak_kb "$2")
    if [ -z "$peak" ]; then
        echo "  stardict-tools is not installed: no peak memory next to tabfile"
        return
    fi
    local memory_ratio
    memory_ratio=$(ratio "$CHAIN_PEAK_KB" "$peak")
    echo "  peak memory $(megabytes $((CHAIN_PEAK_KB * 1024))) MB; tabfile $(megabytes $((peak * 1024))) MB; ratio $memory_ratio"
    goal_row "$1 build peak memory" "tabfile $(megabytes $((peak * 1024))) MB" "$memory_ratio" 1.0
}

# generated_exm N: the name of a generated E-J [EXM] file of N entries, made
# when missing. The generator writes the pair layout (headword and blank,
# TAB-led translation); two lines become one [EXM] line. The same seed makes
# every smaller file the beginning of a larger one.
generated_exm() {
    local entries=$1 exm="$TOOLS/generated-$1.txt"
    if [ ! -f "$exm" ]; then
        "$BUILD/bench/GenerateDictionaryText" "$TOOLS/pairs.tmp" $((entries * 80))
        head -n $((2 * entries)) "$TOOLS/pairs.tmp" | LC_ALL=C sed -n 'N;s/ \r\n\t/\t/p' >"$exm.tmp"
        rm -f "$TOOLS/pairs.tmp"
        if [ "$(wc -l <"$exm.tmp")" -ne "$entries" ]; then
            cannot_measure "the generator wrote fewer than $entries entries"
        fi
        mv "$exm.tmp" "$exm"
    fi
    echo "$exm"
}

if [ -r "$EDICT" ]; then
    for direction in eng jpn; do
        exm="$TOOLS/edict-$direction.txt"
        if [ ! -f "$exm" ] || [ "$EDICT" -nt "$exm" ]; then
            "$TOOL" --yes import-edict "--$direction" "$EDICT" "$exm" >/dev/null 2>&1
        fi
    done
    chain_against_sort "EDICT E-J" --eng "$TOOLS/edict-eng.txt" 1.5 0.5
    memory_against_tabfile "EDICT E-J" "$TOOLS/edict-eng.txt"
    chain_against_sort "EDICT J-E" --jpn "$TOOLS/edict-jpn.txt" 2.0 -
    memory_against_tabfile "EDICT J-E" "$TOOLS/edict-jpn.txt"
else
    echo "EDICT ($EDICT) is not installed: the EDICT figures are skipped"
fi

GENERATED=$(generated_exm "$GENERATED_ENTRIES")
chain_against_sort "generated $GENERATED_ENTRIES E-J" --eng "$GENERATED" 1.5 -

# --- Tools: growth ------------------------------------------------------------
#
# The E-J build of generated [EXM] files of growing size next to
# LC_ALL=C sort -f of UTF-8 copies of the same entries: time and peak resident
# set. Goal: at most 1.2 times the sort's time, and no more memory, at every
# size.

section "Tools: growth of the E-J build against sort -f"
printf '  %10s %11s %11s %6s %11s %11s %6s\n' entries "build ms" "sort -f ms" ratio \
    "build MB" "sort -f MB" ratio
for entries in "${GROWTH_ENTRIES[@]}"; do
    exm=$(generated_exm "$entries")
    utf8=$(utf8_copy "$exm")
    warm_cache "$exm" "$utf8"
    build=($(measure "$TOOL_RUNS" "$TOOL" --yes exm-to-tovix --eng "$exm" "$TOOLS/GROW.DIC"))
    sorted=($(measure "$TOOL_RUNS" env LC_ALL=C sort -f "$utf8"))
    time_ratio=$(ratio "${build[0]}" "${sorted[0]}")
    memory_ratio=$(ratio "${build[1]}" "${sorted[1]}")
    printf '  %10s %11s %11s %6s %11s %11s %6s\n' "$entries" "${build[0]}" "${sorted[0]}" \
        "$time_ratio" "$(megabytes $((build[1] * 1024)))" "$(megabytes $((sorted[1] * 1024)))" \
        "$memory_ratio"
    goal_row "growth: $entries E-J build ${build[0]} ms" "LC_ALL=C sort -f ${sorted[0]} ms" \
        "$time_ratio" 1.2
    goal_row "growth: $entries E-J build peak $(megabytes $((build[1] * 1024))) MB" \
        "sort -f $(megabytes $((sorted[1] * 1024))) MB" "$memory_ratio" 1.0
done
rm -f "$TOOLS"/GROW.*

# --- Tools: what the safe replacement of a set costs ------------------------
#
# The EDICT E-J build (in process, ToolChainBench) with the flushes of the
# staged files and the rename journal, as every build runs, next to the same
# build with plain renames (an option only this benchmark passes), the two in
# turn; and next to the Japanese-locale sort of the same entries in this run.
# Goal: the safe build at most 10% slower.

section "Tools: set replacement with journal and flushes"
if [ -f "$TOOLS/edict-eng.txt" ]; then
    SAFE_DIR="$TOOLS/safe"
    mkdir -p "$SAFE_DIR"
    RESULT=$("$BUILD/bench/ToolChainBench" "$TOOLS/edict-eng.txt" "$SAFE_DIR/EJ.DIC" eng "$RUNS")
    SAFE_MS=$(field safe_median_ms)
    UNSAFE_MS=$(field unsafe_median_ms)
    SORT_MS=$(reference_median_ms "$RUNS" env "${JA_ENV[@]}" sort "$TOOLS/edict-eng.utf8.txt")
    SAFE_EXTRA=$(percent_over "$SAFE_MS" "$UNSAFE_MS")
    echo "EDICT E-J build, median of $RUNS runs each:"
    echo "  with journal and flushes: $SAFE_MS ms; plain renames: $UNSAFE_MS ms;" \
        "$SAFE_EXTRA% slower (goal <= 10%) $(verdict "$SAFE_EXTRA" 10)"
    echo "  LC_ALL=ja_JP.UTF-8 sort of the same entries: $SORT_MS ms;" \
        "safe build / sort $(ratio "$SAFE_MS" "$SORT_MS")"
    summary "EDICT E-J build with journal and flushes, % over plain renames" \
        "plain renames $UNSAFE_MS ms" "$SAFE_EXTRA%" "<= 10%" "$(verdict "$SAFE_EXTRA" 10)"
else
    echo "no imported EDICT: the figure is skipped"
fi

# --- Tools: building a dictionary from the tool window ------------------------
#
# The EDICT E-J build from the viewer's menu (作成(&M) → 英和辞書作成, in process
# on the offscreen platform: the tool window, the chain on its own thread, the
# step captions and the progress bar, the window asked to repaint every 20 ms)
# next to tovix-tool exm-to-tovix on the same file. Goals: at most 1.05 times
# the command line; the progress bar changes at most every 50 ms; the window
# paints at least every 100 ms while the chain runs.

section "Tools: building from the tool window"
if [ -f "$TOOLS/edict-eng.txt" ]; then
    WINDOW_DIR="$TOOLS/window"
    mkdir -p "$WINDOW_DIR"
    warm_cache "$TOOLS/edict-eng.txt"
    quiet() { "$@" 2>/dev/null; }
    RESULT=$(QT_QPA_PLATFORM=offscreen "$BUILD/bench/ToolWindowBench" "$TOOLS/edict-eng.txt" \
        "$WINDOW_DIR" "$RUNS" 2>/dev/null)
    WINDOW_MS=$(field window_median_ms)
    CLI_MS=$(reference_median_ms "$RUNS" quiet "$TOOL" --yes exm-to-tovix --eng \
        "$TOOLS/edict-eng.txt" "$WINDOW_DIR/CLI.DIC")
    WINDOW_RATIO=$(ratio "$WINDOW_MS" "$CLI_MS")
    PROGRESS_GAP=$(field progress_min_interval_ms)
    PAINT_GAP=$(field paint_max_interval_ms)
    echo "EDICT E-J [EXM] to [TOVIX], median of $RUNS runs: tool window $WINDOW_MS ms;" \
        "tovix-tool exm-to-tovix $CLI_MS ms; ratio $WINDOW_RATIO (goal <= 1.05) $(verdict "$WINDOW_RATIO" 1.05)"
    echo "  progress bar: $(field progress_updates) changes in the last run, shortest interval" \
        "$PROGRESS_GAP ms (goal >= 50 ms) $(verdict 50 "$PROGRESS_GAP")"
    echo "  window paints: longest interval $PAINT_GAP ms, $(field paints) paints in the last run" \
        "(goal <= 100 ms) $(verdict "$PAINT_GAP" 100); $(field captions) captions a run"
    goal_row "EDICT E-J build from the tool window $WINDOW_MS ms" "tovix-tool $CLI_MS ms" \
        "$WINDOW_RATIO" 1.05
    summary "tool window: longest interval between paints" - "$PAINT_GAP ms" "<= 100 ms" \
        "$(verdict "$PAINT_GAP" 100)"
else
    echo "no imported EDICT: the figure is skipped"
fi

# --- Text view --------------------------------------------------------------

section "Text view with a part file"
PART="$DATA/part-$PART_BYTES.txt"
if [ ! -f "$PART" ]; then
    "$BUILD/bench/GenerateDictionaryText" "$PART" "$PART_BYTES"
fi
warm_cache "$PART"
RESULT=$("$BUILD/bench/LineStoreLoadBench" "$PART" "$RUNS")
PART_SIZE="$(megabytes "$(field file_bytes)") MB"
STORE_LOAD_MS=$(field reload_median_ms)
RESULT=$(QT_QPA_PLATFORM=offscreen "$BUILD/bench/BigViewBench" "$PART" "$RUNS" 2>/dev/null)
LOAD_PAINT_MS=$(field load_paint_median_ms)
LINE_MS=$(field line_scroll_median_ms)
VIEW_BYTES=$(field view_bytes)
VIEW_STORE_BYTES=$(field store_bytes)
VIEW_EXTRA=$(percent_over "$VIEW_BYTES" "$VIEW_STORE_BYTES")
echo "file: $PART_SIZE, $(field lines) view lines (no word wrap, offscreen, 800 x 600)"
echo "load and first paint $PART_SIZE: $LOAD_PAINT_MS ms (load $(field load_median_ms) ms, page paint $(field paint_median_ms) ms); line store load alone: $STORE_LOAD_MS ms; goal <= 30 ms $(verdict "$LOAD_PAINT_MS" 30)"
echo "scroll by one line: $LINE_MS ms (slowest $(field line_scroll_max_ms) ms); goal < 2 ms $(verdict_below "$LINE_MS" 2)"
echo "scroll by one page: $(field page_scroll_median_ms) ms"
echo "memory: view $(megabytes "$VIEW_BYTES") MB, line store alone $(megabytes "$VIEW_STORE_BYTES") MB; the view adds $VIEW_EXTRA% (goal <= 10%) $(verdict "$VIEW_EXTRA" 10)"
echo "  (resident set growth of each load, read from /proc/self/statm)"
summary "text view: load and first paint $PART_SIZE" - "$LOAD_PAINT_MS ms" "<= 30 ms" \
    "$(verdict "$LOAD_PAINT_MS" 30)"
summary "text view: scroll by one line" - "$LINE_MS ms" "< 2 ms" "$(verdict_below "$LINE_MS" 2)"

section "Text view with one very long line"
# The same part file, view set-ups and commands with a middle translation line
# of each size (10 MB and 100 MB at the full size), next to that line at 1 KB:
# a long line must cost what shows of it, not its length.
RESULT=$(QT_QPA_PLATFORM=offscreen "$BUILD/bench/LongLineBench" "${LONG_LINE_SIZES[@]}" 2>/dev/null)
long_line_figure() {
    local name=$1 what=$2 short
    short=$(field "${name}_1K")
    for size in "${LONG_LINE_SIZES[@]:1}"; do
        printf '%-52s %-4s %9s ms; a 1 KB line %8s ms\n' "$what" "$size" "$(field "${name}_$size")" "$short"
    done
}
long_line_figure main_show_ms "main view: line brought onto the page and painted"
long_line_figure main_line_ms "main view: one line up or down, the line shown"
long_line_figure main_page_ms "main view: one page up or down over the line"
long_line_figure main_load_ms "main view: part file loaded and first page painted"
long_line_figure main_mark_ms "main view: find mark near the line's end, shown"
long_line_figure main_mark_repaint_ms "main view: that page painted again"
long_line_figure entry_copy_ms "copy of the entry alone (in the two below)"
long_line_figure wrap60_assign_ms "wrapped at 60 bytes: entry copied in and painted"
long_line_figure wrap60_take_ms "wrapped at 60 bytes: entry handed over and painted"
long_line_figure wrap60_line_ms "wrapped at 60 bytes: one view line up"
long_line_figure width_assign_ms "wrapped at the width: entry copied in and painted"
long_line_figure width_take_ms "wrapped at the width: entry handed over and painted"
long_line_figure width_resize_ms "wrapped at the width: view widened, wrapped again"
LONGEST=${LONG_LINE_SIZES[-1]}
# Handed over, as the zoom window hands its lines over: the view's own work.
# Copied in: that work plus a copy of the entry, whose time is the reference.
COPY_MS=$(field "entry_copy_ms_$LONGEST")
for name in wrap60_take_ms width_take_ms; do
    value=$(field "${name}_$LONGEST")
    summary "wrapped view of a $LONGEST entry ($name)" "a 1 KB line $(field "${name}_1K") ms" \
        "$value ms" "< 30 ms" "$(verdict_below "$value" 30)"
done
for name in wrap60_assign_ms width_assign_ms; do
    value=$(field "${name}_$LONGEST")
    summary "wrapped view of a $LONGEST entry ($name)" "the copy alone $COPY_MS ms" \
        "$value ms" "-" "-"
done

# --- Viewer -----------------------------------------------------------------
#
# (a) Start-up of the viewer on the EDICT E-J dictionary until its view is
# first painted, next to a minimal Qt window started the same way, both in a
# private X server. (b) In process (offscreen), a keystroke in the search
# field until the view is repainted, on the generated E-J dictionary
# (2,000,000 entries at the full size): within the loaded part, and one that
# changes the part; goal: the slowest part change within one frame at 60 Hz.

section "Viewer: start-up and keystrokes"
VIEWER="$DATA/viewer"
mkdir -p "$VIEWER"

EDICT_EJ="$DATA/tools/edict-eng.txt"
if [ -f "$EDICT_EJ" ] && [ ! -f "$VIEWER/EDICT-EJ.DAT" ]; then
    "$BUILD/bin/tovix-tool" --yes exm-to-tovix --eng "$EDICT_EJ" "$VIEWER/EDICT-EJ.DIC" >/dev/null 2>&1
fi
if [ -f "$VIEWER/EDICT-EJ.DAT" ] && command -v Xvfb >/dev/null; then
    fifo="$VIEWER/.display"
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB=$!
    read -r -t 20 number <"$fifo" || cannot_measure "Xvfb did not start"
    # first_paint PROGRAM ARGS...: milliseconds from launch to first paint.
    first_paint() {
        local program=$1
        shift
        (cd "$VIEWER" && DISPLAY=":$number" "$program" "$(date +%s%N)" "$@" 2>/dev/null) |
            awk '$1 == "first_paint_ms" { print $2 }'
    }
    first_paint "$BUILD/bench/ViewerStartupProbe" "$VIEWER/EDICT-EJ.DIC" ENG >/dev/null
    VIEWER_MS=$(for ((i = 0; i < RUNS; i++)); do
        first_paint "$BUILD/bench/ViewerStartupProbe" "$VIEWER/EDICT-EJ.DIC" ENG
    done | median)
    first_paint "$BUILD/bench/MinimalQtProbe" >/dev/null
    MINIMAL_MS=$(for ((i = 0; i < RUNS; i++)); do first_paint "$BUILD/bench/MinimalQtProbe"; done | median)
    kill "$XVFB" 2>/dev/null || true
    STARTUP_RATIO=$(ratio "$VIEWER_MS" "$MINIMAL_MS")
    echo "start-up to first paint on EDICT E-J: $VIEWER_MS ms; minimal Qt window: $MINIMAL_MS ms;" \
        "ratio $STARTUP_RATIO (goal <= 1.2) $(verdict "$STARTUP_RATIO" 1.2)"
    goal_row "start-up to first paint on EDICT E-J $VIEWER_MS ms" \
        "minimal Qt window $MINIMAL_MS ms" "$STARTUP_RATIO" 1.2
else
    echo "no EDICT E-J dictionary or no Xvfb: the start-up figure is skipped"
fi

GENERATED_DIC="$VIEWER/GEN.DIC"
if [ ! -f "${GENERATED_DIC%.DIC}.DAT" ] || [ "$GENERATED" -nt "${GENERATED_DIC%.DIC}.DAT" ]; then
    "$BUILD/bin/tovix-tool" --yes exm-to-tovix --eng "$GENERATED" "$GENERATED_DIC" >/dev/null 2>&1
fi
RESULT=$(cd "$VIEWER" && QT_QPA_PLATFORM=offscreen "$BUILD/bench/ViewerKeystrokeBench" \
    "$GENERATED_DIC" "$KEYSTROKE_WORDS" 2>/dev/null)
WITHIN_MS=$(field within_median_ms)
CHANGE_MAX_MS=$(field change_max_ms)
echo "keystroke to repainted view, generated $GENERATED_ENTRIES entries (offscreen):"
echo "  within the loaded part: median $WITHIN_MS ms, slowest $(field within_max_ms) ms" \
    "over $(field keystrokes_within) keystrokes; goal < 5 ms $(verdict_below "$WITHIN_MS" 5)"
echo "  changing the part: median $(field change_median_ms) ms, slowest $CHANGE_MAX_MS ms" \
    "over $(field keystrokes_change) keystrokes; goal: slowest < 16 ms $(verdict_below "$CHANGE_MAX_MS" 16)"
echo "  slowest part change less the time other processes kept the window's thread waiting to run:" \
    "$(field change_unqueued_max_ms) ms (processor $(field change_cpu_max_ms) ms); times the window's" \
    "thread blocked: $(field change_waits) in part changes, $(field within_waits) within parts"
summary "keystroke within the part, generated $GENERATED_ENTRIES, median" - "$WITHIN_MS ms" "< 5 ms" \
    "$(verdict_below "$WITHIN_MS" 5)"
summary "part change (load + lookup + paint), generated $GENERATED_ENTRIES, slowest of $(field keystrokes_change)" \
    "one frame" "$CHANGE_MAX_MS ms" "< 16 ms" "$(verdict_below "$CHANGE_MAX_MS" 16)"

# --- Search: lookup keystrokes and free-text find -----------------------------
#
# On the imported EDICT sets (both directions) and the generated 2,000,000-entry
# E-J set, each built once by tovix-tool into data/search:
# (a) one lookup keystroke within the loaded part: LookupBench types about a
#     thousand headwords sampled from the dictionary a character at a time,
#     each keystroke timed as the fastest of three runs; goal < 50 µs.
# (b) a keystroke that changes the part (load plus lookup) of the largest part,
#     next to wc -l of that part file; goal <= 3 x wc -l.
# (c) tovix-tool find of a text that stands in no entry, so that every part
#     file is read, with and without --case, next to grep -F -c and
#     grep -F -i -c over the same part files (C locale: the files are CP932
#     bytes, not text of the terminal's encoding); goal <= 2 x grep.

section "Search: lookup and find"
SEARCH="$DATA/search"
SEARCH_TOOL="$BUILD/bin/tovix-tool"
ABSENT=zqxjv
mkdir -p "$SEARCH"

# not_found COMMAND...: runs a search that must find nothing (exit status 1).
not_found() {
    local status=0
    "$@" || status=$?
    if [ "$status" -ne 1 ]; then
        cannot_measure "expected nothing to be found (status $status): $*"
    fi
}

# search_figures LABEL --eng|--jpn EXM NAME: builds the set NAME.DIC from the
# [EXM] file once and prints the three figures.
search_figures() {
    local label=$1 direction=$2 exm=$3 dic="$SEARCH/$4.DIC"
    if [ ! -f "${dic%.DIC}.DAT" ] || [ "$exm" -nt "${dic%.DIC}.DAT" ]; then
        "$SEARCH_TOOL" --yes exm-to-tovix "$direction" "$exm" "$dic" >/dev/null 2>&1
    fi
    local parts=("${dic%.DIC}".[0-9][0-9][0-9])
    warm_cache "${parts[@]}"
    RESULT=$("$BUILD/bench/LookupBench" "$dic" "${direction#--}" "$LOOKUP_WORDS" "$RUNS")
    local median slowest change_ms wc_ms change_ratio
    median=$(field keystroke_median_us)
    slowest=$(field keystroke_max_us)
    echo "$label: ${#parts[@]} part files, $(cat "${parts[@]}" | wc -l) lines," \
        "$(megabytes "$(cat "${parts[@]}" | wc -c)") MB"
    echo "  (a) keystroke within the loaded part: median $median µs, 99th percentile" \
        "$(field keystroke_p99_us) µs, slowest $slowest µs ($(sed -n 's/^slowest_text //p' <<<"$RESULT"))" \
        "over $(field keystrokes) keystrokes, $(field matched) matched;" \
        "goal < 50 µs: median $(verdict_below "$median" 50), slowest $(verdict_below "$slowest" 50);" \
        "slowest first run $(field keystroke_first_max_us) µs"
    change_ms=$(field change_median_ms)
    wc_ms=$(reference_median_ms "$RUNS" wc -l "$(field change_file)")
    change_ratio=$(ratio "$change_ms" "$wc_ms")
    echo "  (b) keystroke that loads $(basename "$(field change_file)") ($(field change_lines) lines):" \
        "$change_ms ms; wc -l: $wc_ms ms; ratio $change_ratio (goal <= 3) $(verdict "$change_ratio" 3)"
    summary "$label: lookup keystroke, slowest" - "$slowest µs" "< 50 µs" "$(verdict_below "$slowest" 50)"
    goal_row "$label: keystroke that loads the largest part $change_ms ms" "wc -l $wc_ms ms" \
        "$change_ratio" 3
    if [ "$(LC_ALL=C grep -F -i -c "$ABSENT" "${parts[@]}" | awk -F: '{ n += $NF } END { print n + 0 }')" -ne 0 ]; then
        echo "  (c) skipped: '$ABSENT' stands in the dictionary"
        return
    fi
    local find_ms grep_ms find_ratio
    for variant in case nocase; do
        if [ "$variant" = case ]; then
            find_ms=$(reference_median_ms "$RUNS" not_found "$SEARCH_TOOL" find --case "$dic" "$ABSENT")
            grep_ms=$(reference_median_ms "$RUNS" not_found env LC_ALL=C grep -F -c "$ABSENT" "${parts[@]}")
        else
            find_ms=$(reference_median_ms "$RUNS" not_found "$SEARCH_TOOL" find "$dic" "$ABSENT")
            grep_ms=$(reference_median_ms "$RUNS" not_found env LC_ALL=C grep -F -i -c "$ABSENT" "${parts[@]}")
        fi
        find_ratio=$(ratio "$find_ms" "$grep_ms")
        printf '  (c) find %-28s %8s ms; %-16s %8s ms; ratio %s (goal <= 2) %s\n' \
            "$([ "$variant" = case ] && echo "--case (every part file)" || echo "(every part file)")" \
            "$find_ms" "$([ "$variant" = case ] && echo "grep -F -c:" || echo "grep -F -i -c:")" \
            "$grep_ms" "$find_ratio" "$(verdict "$find_ratio" 2)"
        goal_row "$label: find ($variant) $find_ms ms" "grep -F $([ "$variant" = case ] || echo "-i ")-c $grep_ms ms" \
            "$find_ratio" 2
    done
}

if [ -f "$DATA/tools/edict-eng.txt" ] && [ -f "$DATA/tools/edict-jpn.txt" ]; then
    search_figures "EDICT imported E-J" --eng "$DATA/tools/edict-eng.txt" EDICT-EJ
    search_figures "EDICT imported J-E" --jpn "$DATA/tools/edict-jpn.txt" EDICT-JE
else
    echo "no imported EDICT: the EDICT figures are skipped"
fi
search_figures "generated E-J" --eng "$GENERATED" GENERATED-EJ

# find over one very long line: a copy of the generated set whose part "z"
# holds one entry with a translation line of FIND_LINE_BYTES (2.2 GB at the
# full size); tovix-tool find of a text that stands nowhere, next to
# grep -F -c over the same part files. Goals: at most 2 x grep's time, a peak
# resident set of at most 1.1 x the line.
LONG_SET="$SEARCH/long-line"
mkdir -p "$LONG_SET"
LONG_DIC="$LONG_SET/LONG.DIC"
LONG_PART=$(printf '%s.%03d' "${LONG_DIC%.DIC}" 26)
if [ ! -f "$LONG_PART" ] || [ "$(stat -c %s "$LONG_PART")" -lt "$FIND_LINE_BYTES" ]; then
    rm -f "$LONG_SET"/LONG.*
    for file in "$SEARCH"/GENERATED-EJ.*; do
        cp "$file" "$LONG_SET/LONG.${file##*.}"
    done
    {
        printf 'zzz \r\n\t'
        (set +o pipefail; while :; do cat "$DICT"; done | tr -d '\r\n' | head -c "$FIND_LINE_BYTES")
        printf '\r\n'
    } >"$LONG_PART"
fi
LONG_PARTS=("${LONG_DIC%.DIC}".[0-9][0-9][0-9])
warm_cache "${LONG_PARTS[@]}"
# Runs tovix-tool find, whose status 1 says that nothing was found.
FIND_ABSENT=(bash -c '"$@"; [ $? -eq 1 ]' find-absent "$SEARCH_TOOL" find --case "$LONG_DIC" "$ABSENT")
LONG_FIND=($(measure "$TOOL_RUNS" "${FIND_ABSENT[@]}"))
LONG_GREP=($(measure "$TOOL_RUNS" bash -c '"$@"; [ $? -eq 1 ]' grep-absent env LC_ALL=C grep -F -c \
    "$ABSENT" "${LONG_PARTS[@]}"))
LONG_RATIO=$(ratio "${LONG_FIND[0]}" "${LONG_GREP[0]}")
LONG_MEMORY_RATIO=$(ratio $((LONG_FIND[1] * 1024)) "$FIND_LINE_BYTES")
echo "find --case over a line of $(megabytes "$FIND_LINE_BYTES") MB: ${LONG_FIND[0]} ms, peak" \
    "$(megabytes $((LONG_FIND[1] * 1024))) MB; grep -F -c ${LONG_GREP[0]} ms; ratio $LONG_RATIO" \
    "(goal <= 2) $(verdict "$LONG_RATIO" 2); memory / line $LONG_MEMORY_RATIO (goal <= 1.1)" \
    "$(verdict "$LONG_MEMORY_RATIO" 1.1)"
goal_row "find over a $(megabytes "$FIND_LINE_BYTES") MB line ${LONG_FIND[0]} ms" \
    "grep -F -c ${LONG_GREP[0]} ms" "$LONG_RATIO" 2
goal_row "find over a $(megabytes "$FIND_LINE_BYTES") MB line: peak $(megabytes $((LONG_FIND[1] * 1024))) MB" \
    "the line's size" "$LONG_MEMORY_RATIO" 1.1

# --- Search: every headword typed, and written forms -------------------------
#
# On the EDICT sets of the search section:
# (a) every distinct headword (E-J) and reading (J-E) typed a character at a
#     time into a freshly opened dictionary (TypingReachBench): how many the
#     last keystroke finds, and how many every keystroke finds; goal 100%.
# (b) the EDICT J-E build with its written-form file (ToolChainBench, in
#     process) next to the same build without it, the two in turn; goal: at
#     most 20% more time.
# (c) a written-form keystroke (WrittenFormBench: every beginning that holds
#     a kanji of every written form, with its part loaded, the fastest of three
#     runs each), median and slowest, next to the reading keystrokes of
#     LookupBench on the same set; goal < 50 µs. Besides, what reading the
#     written-form file costs the first kanji typed after opening.

section "Search: every headword typed, and written forms"
if [ -f "$SEARCH/EDICT-EJ.DAT" ] && [ -f "$SEARCH/EDICT-JE.DAT" ]; then
    for set in "EDICT-EJ eng E-J headwords" "EDICT-JE jpn J-E readings"; do
        read -r name direction what <<<"$set"
        RESULT=$("$BUILD/bench/TypingReachBench" "$SEARCH/$name.DIC" "$direction" 5)
        echo "(a) $what typed key by key: $(field found) of $(field typed) found" \
            "($(field found_percent)%), $(field every_prefix) at every keystroke;" \
            "goal 100% $(awk -v f="$(field found)" -v t="$(field typed)" 'BEGIN { print (f == t ? "ok" : "MISSED") }')"
        grep '^miss ' <<<"$RESULT" | sed 's/^/    /' || true
        summary "$what typed key by key: found" "$(field typed) typed" "$(field found_percent)%" "100%" \
            "$(awk -v f="$(field found)" -v t="$(field typed)" 'BEGIN { print (f == t ? "ok" : "MISSED") }')"
    done
    RESULT=$("$BUILD/bench/ToolChainBench" "$DATA/tools/edict-jpn.txt" "$SEARCH/written-forms/JE.DIC" \
        jpn "$RUNS" written-forms)
    WITH_MS=$(field with_median_ms)
    WITHOUT_MS=$(field without_median_ms)
    KJI_EXTRA=$(percent_over "$WITH_MS" "$WITHOUT_MS")
    echo "(b) EDICT J-E build, median of $RUNS runs each: with the written-form file $WITH_MS ms;" \
        "without $WITHOUT_MS ms; $KJI_EXTRA% more (goal <= 20%) $(verdict "$KJI_EXTRA" 20)"
    summary "EDICT J-E build with the written-form file, % over without" "without $WITHOUT_MS ms" \
        "$KJI_EXTRA%" "<= 20%" "$(verdict "$KJI_EXTRA" 20)"
    RESULT=$("$BUILD/bench/LookupBench" "$SEARCH/EDICT-JE.DIC" jpn "$LOOKUP_WORDS" "$RUNS")
    READING_MEDIAN=$(field keystroke_median_us)
    READING_MAX=$(field keystroke_max_us)
    RESULT=$("$BUILD/bench/WrittenFormBench" "$SEARCH/EDICT-JE.DIC")
    FORM_MEDIAN=$(field keystroke_median_us)
    FORM_MAX=$(field keystroke_max_us)
    echo "(c) written-form keystroke over $(field texts) texts ($(field matched) matched): median" \
        "$FORM_MEDIAN µs, 99th percentile $(field keystroke_p99_us) µs, slowest $FORM_MAX µs" \
        "($(sed -n 's/^slowest_text //p' <<<"$RESULT")); reading keystroke: median $READING_MEDIAN µs," \
        "slowest $READING_MAX µs; goal < 50 µs: median $(verdict_below "$FORM_MEDIAN" 50)," \
        "slowest $(verdict_below "$FORM_MAX" 50)"
    echo "    reading the written-form file ($(field file_lines) lines) at the first kanji:" \
        "$(field file_read_ms) ms"
    summary "written-form keystroke, slowest" "reading keystroke $READING_MAX µs" "$FORM_MAX µs" \
        "< 50 µs" "$(verdict_below "$FORM_MAX" 50)"
else
    echo "no EDICT sets: the figures are skipped"
fi

# --- Base forms of inflected words -------------------------------------------
#
# On the EDICT sets of the section above, with the conjugated forms of
# bench/Conjugator.cpp (which shares no code with the lookup's rules):
# (a) a keystroke that also looks for base forms, over every beginning of
#     2,000 conjugated forms (the fastest of three runs each), next to the
#     plain keystroke of the same texts in the same run; goal: slowest
#     < 50 µs, median within 2x the plain one.
# (b) the share of the conjugated forms of every EDICT verb and adjective
#     (written and kana) whose base forms hold the word, by class; goal
#     >= 97% in every class. The English share over a mixed list of regular
#     and irregular forms; goal >= 95%. The misses are listed.
# (c) the EDICT J-E build with its entries ordered by reading first, next to
#     the order of whole lines, the two in turn; goal: at most 10% more time.

section "Search: base forms of inflected words"
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target DeinflectBench >/dev/null
if [ -f "$SEARCH/EDICT-EJ.DAT" ] && [ -f "$SEARCH/EDICT-JE.DAT" ]; then
    RESULT=$("$BUILD/bench/DeinflectBench" "$SEARCH/EDICT-JE.DIC" keystroke 2000)
    WITH_MEDIAN=$(field with_median_us)
    PLAIN_MEDIAN=$(field plain_median_us)
    echo "(a) keystroke with base forms over $(field keystrokes) beginnings of $(field forms) forms:" \
        "median $WITH_MEDIAN µs, 99th percentile $(field with_p99_us) µs, slowest $(field with_max_us) µs" \
        "($(sed -n 's/^slowest_text //p' <<<"$RESULT")); plain keystroke: median $PLAIN_MEDIAN µs," \
        "slowest $(field plain_max_us) µs; goal: slowest < 50 µs $(verdict_below "$(field with_max_us)" 50)," \
        "median within 2x $(verdict "$(ratio "$WITH_MEDIAN" "$PLAIN_MEDIAN")" 2)"
    RESULT=$("$BUILD/bench/DeinflectBench" "$SEARCH/EDICT-JE.DIC" coverage)
    echo "(b) conjugated forms whose base is found, by class (goal >= 97% each):"
    awk '$1 == "class" { printf "    %s %s: %s of %s (%s%%) %s\n", $2, $3, $4, $5, $6, ($6 >= 97 ? "ok" : "MISSED") }' <<<"$RESULT"
    grep '^miss ' <<<"$RESULT" | head -40 | sed 's/^/    /' || true
    RESULT=$("$BUILD/bench/DeinflectBench" "$SEARCH/EDICT-EJ.DIC" english 900)
    awk '$1 == "english" { printf "    English mixed list: %s of %s (%s%%) (goal >= 95%%) %s\n", $2, $3, $4, ($4 >= 95 ? "ok" : "MISSED") }' <<<"$RESULT"
    grep '^miss ' <<<"$RESULT" | head -40 | sed 's/^/    /' || true
    RESULT=$("$BUILD/bench/ToolChainBench" "$DATA/tools/edict-jpn.txt" "$SEARCH/reading-order/JE.DIC" \
        jpn "$RUNS" reading-order)
    ORDER_EXTRA=$(percent_over "$(field with_median_ms)" "$(field without_median_ms)")
    echo "(c) EDICT J-E build, median of $RUNS runs each: by reading first $(field with_median_ms) ms;" \
        "as whole lines $(field without_median_ms) ms; $ORDER_EXTRA% more (goal <= 10%)" \
        "$(verdict "$ORDER_EXTRA" 10)"
else
    echo "no EDICT sets: the figures are skipped"
fi

# --- Zoom and find windows ----------------------------------------------------
#
# In process on the offscreen platform: (a) F9 on the entry of the imported
# EDICT J-E set with the longest translation, until the zoom window's view is
# first painted; goal < 16 ms (one frame). (b) A find from the find window of
# a text that stands nowhere, with part 1 of the generated 2,000,000-entry E-J
# set in the view, until the notice that nothing was found (every part file is
# searched), next to tovix-tool find of the same text (every part file, and the
# tool's start); goal: the window adds at most 10%.

section "Zoom and find windows"
if [ -f "$SEARCH/EDICT-JE.DAT" ]; then
    RESULT=$(QT_QPA_PLATFORM=offscreen "$BUILD/bench/ZoomFindBench" zoom "$SEARCH/EDICT-JE.DIC" \
        "$RUNS" 2>/dev/null)
    ZOOM_MS=$(field zoom_first_paint_median_ms)
    echo "zoom window on the longest EDICT J-E entry ($(field zoom_translation_bytes) bytes," \
        "$(field zoom_view_lines) view lines): first paint $ZOOM_MS ms; goal < 16 ms" \
        "$(verdict_below "$ZOOM_MS" 16)"
    summary "zoom window first paint, longest EDICT J-E entry" - "$ZOOM_MS ms" "< 16 ms" \
        "$(verdict_below "$ZOOM_MS" 16)"
else
    echo "no imported EDICT: the zoom figure is skipped"
fi
GENERATED_SET="$SEARCH/GENERATED-EJ.DIC"
warm_cache "${GENERATED_SET%.DIC}".[0-9][0-9][0-9]
RESULT=$(QT_QPA_PLATFORM=offscreen "$BUILD/bench/ZoomFindBench" find "$GENERATED_SET" "$ABSENT" \
    "$RUNS" 2>/dev/null)
WINDOW_FIND_MS=$(field find_median_ms)
TOOL_FIND_MS=$(reference_median_ms "$RUNS" not_found "$SEARCH_TOOL" find "$GENERATED_SET" "$ABSENT")
FIND_EXTRA=$(percent_over "$WINDOW_FIND_MS" "$TOOL_FIND_MS")
echo "find of '$ABSENT' through every part file, generated 2,000,000 entries: find window" \
    "$WINDOW_FIND_MS ms; tovix-tool find $TOOL_FIND_MS ms; the window adds $FIND_EXTRA%" \
    "(goal <= 10%) $(verdict "$FIND_EXTRA" 10)"
summary "find window, % over tovix-tool find" "tovix-tool find $TOOL_FIND_MS ms" "$FIND_EXTRA%" "<= 10%" \
    "$(verdict "$FIND_EXTRA" 10)"

# --- tovix-tool show against sdcv ---------------------------------------------
#
# 300 English words looked up in one process: tovix-tool show on the imported
# EDICT E-J set, next to sdcv -n on the same words over a StarDict dictionary
# that stardict-tools' tabfile builds from the same [EXM] (in UTF-8). Both
# print every entry they find. Needs the Debian packages sdcv and
# stardict-tools (this script installs nothing); goal: no slower than sdcv.

section "tovix-tool show against sdcv"
SHOW_DIR="$DATA/show"
if [ ! -f "$SEARCH/EDICT-EJ.DAT" ]; then
    echo "no imported EDICT: the figure is skipped"
elif ! command -v sdcv >/dev/null || [ ! -x "$TABFILE" ]; then
    echo "sdcv or stardict-tools is not installed: the figure is skipped"
else
    mkdir -p "$SHOW_DIR/stardict/dic"
    tab="$SHOW_DIR/edict-ej.tab"
    if [ ! -f "$SHOW_DIR/stardict/dic/edict-ej.ifo" ] || [ "$DATA/tools/edict-eng.txt" -nt "$tab" ]; then
        iconv -f CP932 -t UTF-8 "$DATA/tools/edict-eng.txt" | tr -d '\r' >"$tab"
        "$TABFILE" "$tab" >/dev/null 2>&1
        mv "$SHOW_DIR"/edict-ej.ifo "$SHOW_DIR"/edict-ej.idx "$SHOW_DIR"/edict-ej.dict* \
            "$SHOW_DIR/stardict/dic/"
    fi
    # Every 97th one-word lower-case headword: 300 words spread over the alphabet.
    mapfile -t SHOW_WORDS < <(awk -F'\t' '$1 ~ /^[a-z]+$/ { print $1 }' "$tab" |
        awk 'NR % 97 == 0' | head -n 300)
    warm_cache "$SEARCH"/EDICT-EJ.[0-9][0-9][0-9] "$SHOW_DIR"/stardict/dic/*
    SHOW_MS=$(reference_median_ms "$RUNS" "$SEARCH_TOOL" show --eng "$SEARCH/EDICT-EJ.DIC" \
        "${SHOW_WORDS[@]}")
    SDCV_MS=$(reference_median_ms "$RUNS" env HOME="$SHOW_DIR" sdcv -n --data-dir \
        "$SHOW_DIR/stardict" "${SHOW_WORDS[@]}")
    SHOW_RATIO=$(ratio "$SHOW_MS" "$SDCV_MS")
    echo "${#SHOW_WORDS[@]} words in one process, median of $RUNS runs: tovix-tool show" \
        "$SHOW_MS ms; sdcv -n $SDCV_MS ms; ratio $SHOW_RATIO (goal <= 1) $(verdict "$SHOW_RATIO" 1)"
    goal_row "tovix-tool show, ${#SHOW_WORDS[@]} words $SHOW_MS ms" "sdcv -n $SDCV_MS ms" "$SHOW_RATIO" 1
fi

# --- Entry editing --------------------------------------------------------------
#
# In process: one entry added to the largest part file of the generated
# 2,000,000-entry E-J set and of the imported EDICT E-J set (copies of the sets
# built in data/search), from the command to the table file saved: the part
# written with the entry in its place, the part's table block, the table file
# and the edit log replaced as one through the set's journal with their
# flushes; next to cp of that part file in the same run. Goal: at most 2 x cp.
# The same edit with plain renames (no flushes, no journal) shows what the
# flushes cost.

section "Entry editing: adding an entry"
EDIT="$DATA/edit"

# edit_figures LABEL DICT.DIC: the figures of one set, edited in a copy.
edit_figures() {
    local label=$1 source=$2
    local copy="$EDIT/$(basename "${source%.DIC}")"
    rm -rf "$copy"
    mkdir -p "$copy"
    cp "${source%.DIC}".* "$copy/"
    RESULT=$("$BUILD/bench/EntryEditBench" "$copy/$(basename "$source")" "$copy/work" "$RUNS")
    local part edit_ms unsafe_ms cp_ms edit_ratio
    part=$(field part_file)
    edit_ms=$(field edit_median_ms)
    unsafe_ms=$(field edit_unsafe_median_ms)
    warm_cache "$part"
    cp_ms=$(reference_median_ms "$RUNS" cp "$part" "$copy/copy.tmp")
    edit_ratio=$(ratio "$edit_ms" "$cp_ms")
    echo "$label, $(basename "$part") ($(megabytes "$(field part_bytes)") MB): add one entry" \
        "$edit_ms ms; cp $cp_ms ms; ratio $edit_ratio (goal <= 2) $(verdict "$edit_ratio" 2)"
    goal_row "$label: add one entry to $(basename "$part") $edit_ms ms" "cp $cp_ms ms" "$edit_ratio" 2
    echo "  with plain renames instead of the journal and flushes: $unsafe_ms ms;" \
        "ratio $(ratio "$unsafe_ms" "$cp_ms")"
}

edit_figures "generated E-J" "$SEARCH/GENERATED-EJ.DIC"
if [ -f "$SEARCH/EDICT-EJ.DAT" ]; then
    edit_figures "EDICT imported E-J" "$SEARCH/EDICT-EJ.DIC"
else
    echo "no imported EDICT: the EDICT figure is skipped"
fi

# --- dictd and StarDict -----------------------------------------------------------
#
# WordNet (Debian's dict-wn) imported from dictd and built into an E-J set, next
# to zcat of its .dict.dz (the inflate alone) and next to stardict-tools'
# tabfile building a StarDict dictionary from the same entries; the imported
# EDICT E-J set exported to StarDict, next to tabfile building from the same
# [EXM]. Goal for the export: at most tabfile's time. Skipped where the Debian
# packages are not installed (this script installs nothing).

section "dictd and StarDict: import and export"
DICTS="$DATA/dicts"
DICT_RUNS=$(((RUNS + 2) / 3))
WN_INDEX=/usr/share/dictd/wn.index
mkdir -p "$DICTS"

# tabfile_ms TAB: median time of tabfile over a copy of the UTF-8 file TAB.
tabfile_ms() {
    cp "$1" "$DICTS/tab.txt"
    reference_median_ms "$DICT_RUNS" "$TABFILE" "$DICTS/tab.txt"
}

if [ ! -f "$WN_INDEX" ] || [ ! -x "$TABFILE" ]; then
    echo "dict-wn or stardict-tools is not installed: the WordNet figures are skipped"
else
    warm_cache /usr/share/dictd/wn.*
    IMPORT_MS=$(reference_median_ms "$DICT_RUNS" "$SEARCH_TOOL" --yes import-dictd --eng \
        "$WN_INDEX" "$DICTS/wn.txt" 2>/dev/null)
    BUILD_MS=$(reference_median_ms "$DICT_RUNS" "$SEARCH_TOOL" --yes exm-to-tovix --eng \
        "$DICTS/wn.txt" "$DICTS/WN.DIC" 2>/dev/null)
    ZCAT_MS=$(reference_median_ms "$DICT_RUNS" zcat /usr/share/dictd/wn.dict.dz)
    iconv -f CP932 -t UTF-8 "$DICTS/wn.txt" | tr -d '\r' >"$DICTS/wn.tab"
    TAB_MS=$(tabfile_ms "$DICTS/wn.tab")
    TOTAL_MS=$(awk -v a="$IMPORT_MS" -v b="$BUILD_MS" 'BEGIN { printf "%.2f", a + b }')
    echo "WordNet ($(wc -l <"$DICTS/wn.tab") entries): import $IMPORT_MS ms + build $BUILD_MS ms" \
        "= $TOTAL_MS ms; zcat of wn.dict.dz $ZCAT_MS ms (import / zcat $(ratio "$IMPORT_MS" "$ZCAT_MS"));" \
        "tabfile on the same entries $TAB_MS ms (import and build / tabfile $(ratio "$TOTAL_MS" "$TAB_MS"))"
fi
if [ ! -f "$SEARCH/EDICT-EJ.DAT" ] || [ ! -x "$TABFILE" ]; then
    echo "no imported EDICT or no stardict-tools: the export figure is skipped"
else
    warm_cache "$SEARCH"/EDICT-EJ.[0-9][0-9][0-9]
    EXPORT_MS=$(reference_median_ms "$DICT_RUNS" "$SEARCH_TOOL" --yes tovix-to-stardict --eng \
        "$SEARCH/EDICT-EJ.DIC" "$DICTS/edict-ej.ifo" 2>/dev/null)
    "$SEARCH_TOOL" --yes tovix-to-exm --eng "$SEARCH/EDICT-EJ.DIC" "$DICTS/edict-ej.txt" \
        >/dev/null 2>&1
    iconv -f CP932 -t UTF-8 "$DICTS/edict-ej.txt" | tr -d '\r' >"$DICTS/edict-ej.tab"
    TAB_MS=$(tabfile_ms "$DICTS/edict-ej.tab")
    EXPORT_RATIO=$(ratio "$EXPORT_MS" "$TAB_MS")
    echo "EDICT E-J set to StarDict (.dict.dz): $EXPORT_MS ms; tabfile from the same [EXM] $TAB_MS ms;" \
        "ratio $EXPORT_RATIO (goal <= 1) $(verdict "$EXPORT_RATIO" 1)"
fi
