#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the tests of the viewer's windows (the tool windows among them), of
# entry editing and of the tools' threaded steps with ThreadSanitizer in
# build-tsan/ and runs them: the tool windows run their chains and entry edits
# on a thread of their own, entry editing flushes its staged files on threads
# side by side, and the sort and the StarDict export share their work among
# threads. Fails when a test fails or ThreadSanitizer reports a data race. Not
# part of scripts/test.sh (a build of its own, some minutes). Reports on code
# of Qt and GLib, which are not built with ThreadSanitizer and so hide their
# own synchronisation, are suppressed in scripts/tsan.supp, each with its reason.
#
#   bash scripts/tsan.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

BUILD="$TOVIX_ROOT/build-tsan"
tovix_install_packages

echo "== Build the tool-window and entry-editing tests with ThreadSanitizer: $BUILD"
cmake -S "$TOVIX_ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVIX_TSAN=ON >/dev/null
cmake --build "$BUILD" -j "$TOVIX_JOBS" --target app_gui_test editing_test tools_test

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$TOVIX_ROOT/scripts/tsan.supp"
status=0
run() {
    echo "== $*"
    "$@" || status=1
}
run "$BUILD/tests/app/gui/app_gui_test"
run "$BUILD/tests/editing/editing_test"
run "$BUILD/tests/tools/tools_test" --gtest_filter='ToolJob*:Chains*:SortSteps*:StarDictExport*'

if [ $status -eq 0 ]; then
    echo "ThreadSanitizer found no data race; every test passed."
else
    echo "ThreadSanitizer reported a race, or a test failed."
fi
exit $status
