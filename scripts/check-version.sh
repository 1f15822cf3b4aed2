#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that each program given answers --version at once, without a display,
# with its licence and the warranty notice: check-version.sh PROGRAM...
set -euo pipefail
for program in "$@"; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$program" --version </dev/null)
    for want in "GPL-3.0-or-later" "ABSOLUTELY NO WARRANTY" "(Tovix)"; do
        if [[ $out != *"$want"* ]]; then
            echo "$program --version does not say \"$want\":"
            printf '%s\n' "$out"
            exit 1
        fi
    done
done
