#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copies the screenshots that the end-to-end tests keep (BUILD/e2e-artifacts)
# into the manual's image folder (help/images), each under the name the
# manual uses, with the black of the empty X screen trimmed away:
#
#   bash scripts/help-screenshots.sh [BUILD_DIR]
#
# Run the end-to-end tests first (ctest --test-dir build -L e2e). A
# screenshot that is missing is reported and its old image kept.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
artifacts="${1:-$root/build}/e2e-artifacts"
images="$root/help/images"
mkdir -p "$images"

# artifact name -> image name in the manual
shots=(
    viewer-typed.png:main-english.png
    installed-jpn.png:main-japanese.png
    TForm10.png:key-list.png
    zoom-window.png:zoom.png
    find-hit.png:find.png
    TForm11.png:dictionary-list.png
    TForm2.png:options.png
    tool-window.png:tool-window.png
    entry-add.png:entry-add.png
    history-window.png:history.png
    selection-looked-up.png:selection.png
)
for shot in "${shots[@]}"; do
    from="$artifacts/${shot%%:*}" to="$images/${shot##*:}"
    if [ ! -f "$from" ]; then
        echo "missing: $from (kept $to)" >&2
        continue
    fi
    convert "$from" -bordercolor black -border 1 -trim +repage "$to"
    echo "$to"
done
