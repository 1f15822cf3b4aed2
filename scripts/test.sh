#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Set up and test: install what is missing, build, and run every test, once in
# the normal build and once built with AddressSanitizer and
# UndefinedBehaviorSanitizer; run every benchmark once at its smallest size,
# so that one that can no longer measure fails the run; then run every fuzz
# target for a few seconds
# (TOVIX_FUZZ_SECONDS, default 10), so that a regression on their inputs
# fails the run.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

tovix_install_packages

export QT_QPA_PLATFORM=offscreen
status=0

echo "== Build and test: $TOVIX_ROOT/build"
tovix_build "$TOVIX_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$TOVIX_ROOT/build" --output-on-failure -j "$TOVIX_JOBS" || status=1

echo "== Every benchmark once at its smallest size (that each still measures, not how fast)"
if ! TOVIX_BENCH_SIZE=smallest TOVIX_BENCH_BUILD="$TOVIX_ROOT/build" \
    bash "$TOVIX_ROOT/bench/run.sh" >"$TOVIX_ROOT/build/bench-smallest.log" 2>&1; then
    tail -n 30 "$TOVIX_ROOT/build/bench-smallest.log"
    echo "A benchmark could not measure: $TOVIX_ROOT/build/bench-smallest.log"
    status=1
fi

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer: $TOVIX_ROOT/build-asan"
tovix_build "$TOVIX_ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTOVIX_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$TOVIX_ROOT/build-asan" --output-on-failure -j "$TOVIX_JOBS" || status=1

echo "== Fuzz targets, ${TOVIX_FUZZ_SECONDS:-10} s each"
bash "$TOVIX_ROOT/scripts/fuzz.sh" "${TOVIX_FUZZ_SECONDS:-10}" || status=1

if [ $status -eq 0 ]; then
    echo "All tests passed in both builds; the fuzz targets found nothing."
else
    echo "Some tests failed."
fi
exit $status
