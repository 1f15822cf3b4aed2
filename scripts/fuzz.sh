#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang's libFuzzer (and AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for SECONDS
# (default 60), one after another, starting from its seed inputs in
# fuzz/corpus/TARGET. New inputs are kept in build-fuzz/corpus/TARGET, so a
# later run goes on where this one stopped; an input that breaks a target is
# saved in build-fuzz/artifacts/. Prints the executions, their rate and the
# coverage reached (edges and features) of every target, and fails when any
# target found a fault.
#
#   bash scripts/fuzz.sh [SECONDS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

DURATION=${1:-60}
BUILD="$TOVIX_ROOT/build-fuzz"
tovix_install_packages

echo "== Build the fuzz targets (clang, libFuzzer): $BUILD"
cmake -S "$TOVIX_ROOT" -B "$BUILD" -DTOVIX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$BUILD" -j "$TOVIX_JOBS" --target fuzzers
mkdir -p "$BUILD/artifacts"

status=0
summary=()
for target in "$BUILD"/fuzz/fuzz_*; do
    name=$(basename "$target")
    name=${name#fuzz_}
    corpus="$BUILD/corpus/$name"
    log="$BUILD/artifacts/$name.log"
    mkdir -p "$corpus"
    echo "== Fuzz $name for $DURATION s"
    if UBSAN_OPTIONS=print_stacktrace=1 "$target" -max_total_time="$DURATION" -timeout=25 \
        -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$name-" \
        "$corpus" "$TOVIX_ROOT/fuzz/corpus/$name" >"$log" 2>&1; then
        result="ok"
    else
        result="FAULT (input and log in $BUILD/artifacts/)"
        status=1
        grep -E -A12 'ERROR:|broken promise|runtime error' "$log" | head -40 || tail -n 40 "$log"
    fi
    runs=$(awk '/stat::number_of_executed_units:/ { print $2 }' "$log")
    rate=$(awk '/stat::average_exec_per_sec:/ { print $2 }' "$log")
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 || true)
    summary+=("$(printf '%-12s %10s executions in %s s (%s/s, %s): %s' "$name" "${runs:-?}" \
        "$DURATION" "${rate:-?}" "${cov:-cov: ?}" "$result")")
done

echo "== Fuzzing summary"
printf '%s\n' "${summary[@]}"
exit $status
