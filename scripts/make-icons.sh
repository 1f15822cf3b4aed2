#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program's icon data/icons/tovix.svg into the PNG sizes that are
# installed beside it (data/icons/hicolor/NxN/apps/tovix.png). Run it after
# changing the SVG; it needs rsvg-convert (Debian package librsvg2-bin). The
# PNGs are committed, so neither the build nor the set-up needs it.
set -euo pipefail
icons=$(cd "$(dirname "${BASH_SOURCE[0]}")/../data/icons" && pwd)
for size in 16 24 32 48 64 128 256; do
    mkdir -p "$icons/hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$icons/tovix.svg" -o "$icons/hicolor/${size}x${size}/apps/tovix.png"
done
