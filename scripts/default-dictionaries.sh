#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the default dictionaries from EDICT (Debian package edict) with our own
# tools and registers them as dictionary 1 of the English-Japanese and the
# Japanese-English list of the settings file:
#
#   bash scripts/default-dictionaries.sh BUILD_DIR
#
# The dictionaries go to BUILD_DIR/data/ (never committed); `cmake --install`
# copies them to PREFIX/share/tovix/dictionaries/. They are built by their
# bare file names in that folder, so that the dictionary file (whose first
# line is the name it was built by) holds "EDICT-EJ.DIC", not a path of the
# build machine. Each is rebuilt
# only when it is missing or older than EDICT or than the tools (a newer
# importer or builder may write more, such as the written-form file); a slot 1
# that the user filled with another dictionary is left alone.
set -euo pipefail

BUILD=$(cd "${1:?usage: default-dictionaries.sh BUILD_DIR}" && pwd)
TOOL="$BUILD/bin/tovix-tool"
EDICT=/usr/share/edict/edict
DATA="$BUILD/data"

if [ ! -r "$EDICT" ]; then
    echo "EDICT ($EDICT) is not installed; no default dictionaries." >&2
    exit 0
fi
mkdir -p "$DATA"

# default_dictionary DIRECTION NAME TITLE SHORTCUT
default_dictionary() {
    local direction=$1 name=$2 title=$3 shortcut=$4
    local exm="$DATA/$name.txt" dic="$DATA/$name.DIC"
    if [ ! -f "$dic" ] || [ ! -f "${dic%.DIC}.DAT" ] || [ "$EDICT" -nt "$dic" ] ||
        [ "$TOOL" -nt "$dic" ]; then
        echo "Building $dic from $EDICT"
        (cd "$DATA" &&
            "$TOOL" --yes import-edict "--$direction" "$EDICT" "$name.txt" &&
            "$TOOL" --yes exm-to-tovix "--$direction" "$name.txt" "$name.DIC")
    fi
    "$TOOL" register "--$direction" --if-free "$title" "$dic" "$shortcut"
}

# The sets are adaptations of EDICT: its credit travels with them.
cp "$(dirname "$0")/../data/EDICT-CREDITS.txt" "$DATA/EDICT-CREDITS.txt"

default_dictionary eng EDICT-EJ "EDICT 英和" "E"
default_dictionary jpn EDICT-JE "EDICT 和英" "J"
