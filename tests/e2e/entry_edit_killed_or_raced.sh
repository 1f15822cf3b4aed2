#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Entry editing in the real viewer when it is killed or raced, on a set whose
# first part is large enough (about 2 MB) that an add takes a while:
# - The viewer is killed (SIGKILL) at spread moments after 登録実行 (Enter in
#   the add window). Once opened, the set is byte for byte the old set or the
#   set with the entry added, and the edit log holds the entry's line exactly
#   when the set does.
# - Two viewers of one program directory press 登録実行 on one set one right
#   after the other. Each either adds its entry or shows the "being edited"
#   warning; the set is then byte for byte the old set with exactly the
#   entries added, and the edit log has their lines and no other.
# The reference sets come from `tovix-tool add` run in a program directory of
# their own.
source "$(dirname "$0")/lib.sh"

e2e_install
ENTRY_WINDOW="Tovix \\(登録 / 編集 / 削除\\)"
LOG="$E2E_DIR/TOVIXADE.TXT"
mkdir "$E2E_DIR/old"
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "a%06d\tt%d\r\n", i, i; printf "bank\tginko\r\n" }' \
    >"$E2E_DIR/words.exm"
"$E2E_DIR/tovix-tool" exm-to-tovix --eng --yes "$E2E_DIR/words.exm" "$E2E_DIR/old/WORDS.DIC" \
    >/dev/null 2>&1 || fail "building the dictionary failed"

# The set's files as one checksum, after opening the set with its own
# program (which completes an unfinished replacement first) from the program
# directory $1.
set_sum() {
    "$1/tovix-tool" lookup --eng "$2/WORDS.DIC" bank >/dev/null 2>&1 || return 1
    (cd "$2" && cat WORDS.DIC WORDS.0[0-9][0-9] WORDS.DAT WORDS.TBL | md5sum | cut -d' ' -f1)
}

# The reference sets: old, with apricot, with avocado, with both.
mkdir "$E2E_DIR/ref"
cp "$E2E_DIR/tovix-tool" "$E2E_DIR/ref/"
reference() {
    rm -rf "$E2E_DIR/ref/set"
    cp -r "$E2E_DIR/old" "$E2E_DIR/ref/set"
    local entry
    for entry in "$@"; do
        # shellcheck disable=SC2086
        "$E2E_DIR/ref/tovix-tool" add --eng "$E2E_DIR/ref/set/WORDS.DIC" $entry >/dev/null 2>&1 ||
            fail "the reference add of $entry failed"
    done
    set_sum "$E2E_DIR/ref" "$E2E_DIR/ref/set"
}
OLD=$(reference)
APRICOT=$(reference "apricot あんず")
AVOCADO=$(reference "avocado アボカド")
BOTH=$(reference "apricot あんず" "avocado アボカド")
[ "$(reference "avocado アボカド" "apricot あんず")" = "$BOTH" ] ||
    fail "the two adds give different sets in the other order"

restore_set() {
    rm -rf "$E2E_DIR/set"
    cp -r "$E2E_DIR/old" "$E2E_DIR/set"
}
log_count() {
    [ -f "$LOG" ] || { echo 0; return; }
    iconv -f CP932 -t UTF-8 "$LOG" | grep -c "	$1	" || true
}
# window_of PID TITLE: the visible window of process PID whose title begins
# with TITLE (an extended regular expression).
window_of() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '' 2>/dev/null || true); do
        if [[ "$(xdotool getwindowname "$id" 2>/dev/null || true)" =~ ^$2 ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
await_window_of() {
    e2e_until window_of "$1" "$2" || fail "process $1 shows no window '$2'"
    window=$(window_of "$1" "$2") || fail "the window '$2' of $1 went away"
}
# start_filled HEADWORD TRANSLATION: starts a viewer on the set and fills its
# add window; sets $viewer and $entry (the add window).
start_filled() {
    e2e_start_viewer tovix "$E2E_DIR/set/WORDS.DIC" ENG
    await_window_of "$viewer" "Tovix .ﾒｲﾝ."
    e2e_focus "$window"
    e2e_send_until "window_of $viewer '$ENTRY_WINDOW'" shift+F2 || fail "Shift+F2 opened no add window"
    await_window_of "$viewer" "$ENTRY_WINDOW"
    entry=$window
    e2e_focus "$entry"
    xdotool type --delay 40 "$1"
    xdotool key Tab
    e2e_clipboard_set "$2"
    xdotool key ctrl+v
}
stop_viewer() {
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

e2e_start_x

# Until the add stages its part file, or has replaced the table (inode $1)
# already.
await_staged_part() {
    local table=$1 deadline=$((SECONDS + E2E_WAIT))
    until compgen -G "$E2E_DIR/set/.WORDS.001.tovix-*" >/dev/null ||
        [ "$(stat -c %i "$E2E_DIR/set/WORDS.DAT")" != "$table" ]; do
        [ $SECONDS -lt $deadline ] || fail "the add staged nothing"
    done
}

# Killed at spread moments after 登録実行, or after the add staged its part.
old_count=0
new_count=0
for moment in enter:0 enter:0.01 staged:0 staged:0.003 staged:0.006 staged:0.01 staged:0.02 \
    staged:0.04; do
    delay=${moment#*:}
    restore_set
    logged=$(log_count apricot)
    start_filled apricot あんず
    table=$(stat -c %i "$E2E_DIR/set/WORDS.DAT")
    xdotool key Return
    [ "${moment%:*}" = enter ] || await_staged_part "$table"
    sleep "$delay"
    stop_viewer "$viewer"
    sum=$(set_sum "$E2E_DIR" "$E2E_DIR/set") || fail "the set does not open after a kill at $moment"
    case "$sum" in
    "$OLD")
        old_count=$((old_count + 1))
        [ "$(log_count apricot)" = "$logged" ] || fail "the old set, yet the log has the add ($moment)"
        ;;
    "$APRICOT")
        new_count=$((new_count + 1))
        [ "$(log_count apricot)" = $((logged + 1)) ] ||
            fail "the set has the add, the log does not ($moment)"
        ;;
    *) fail "killed at $moment after 登録実行, the set is neither old nor new" ;;
    esac
done
echo "killed during an add: $old_count times old, $new_count times new"

# Two viewers press 登録実行 one right after the other.
refused_count=0
for gap in 0 0.02 0.05; do
    restore_set
    apricots=$(log_count apricot)
    avocados=$(log_count avocado)
    start_filled apricot あんず
    first=$viewer first_entry=$entry
    start_filled avocado アボカド
    second=$viewer second_entry=$entry
    xdotool windowfocus --sync "$first_entry" key Return sleep "$gap" \
        windowfocus --sync "$second_entry" key Return
    # Each viewer either logs its add or warns.
    settled() {
        { [ "$(log_count apricot)" != "$apricots" ] || window_of "$first" "警告"; } &&
            { [ "$(log_count avocado)" != "$avocados" ] || window_of "$second" "警告"; }
    }
    e2e_until settled || fail "gap ${gap}s: a viewer neither added nor warned"
    added=()
    if window_of "$first" "警告" >/dev/null; then
        refused_count=$((refused_count + 1))
    else
        added+=(apricot)
    fi
    if window_of "$second" "警告" >/dev/null; then
        refused_count=$((refused_count + 1))
    else
        added+=(avocado)
    fi
    [ ${#added[@]} -gt 0 ] || fail "gap ${gap}s: both viewers were refused"
    stop_viewer "$first"
    stop_viewer "$second"
    sum=$(set_sum "$E2E_DIR" "$E2E_DIR/set") || fail "gap ${gap}s: the set does not open"
    case "${added[*]}" in
    "apricot avocado") expected=$BOTH ;;
    apricot) expected=$APRICOT ;;
    avocado) expected=$AVOCADO ;;
    esac
    [ "$sum" = "$expected" ] || fail "gap ${gap}s: the set is not the old one with ${added[*]} added"
    for word in apricot avocado; do
        before=$([ $word = apricot ] && echo "$apricots" || echo "$avocados")
        [[ " ${added[*]} " = *" $word "* ]] && before=$((before + 1))
        [ "$(log_count $word)" = "$before" ] || fail "gap ${gap}s: the log does not match the set for $word"
    done
done
echo "two viewers at once: $refused_count of 6 adds refused as being edited, none lost"
