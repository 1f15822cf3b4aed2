#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Set up and run: install what is missing, build, prepare the default
# dictionaries and start the program on the English-Japanese one.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

tovix_install_packages
tovix_build "$TOVIX_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
bash "$TOVIX_ROOT/scripts/default-dictionaries.sh" "$TOVIX_ROOT/build"

viewer=("$TOVIX_ROOT/build/bin/tovix")
dictionary="$TOVIX_ROOT/build/data/EDICT-EJ.DIC"
if [ -f "$dictionary" ]; then
    viewer+=("$dictionary" ENG)
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show the window on. Start it from your desktop with:"
    printf '  %q' "${viewer[@]}"
    echo
    exit 0
fi
exec "${viewer[@]}"
