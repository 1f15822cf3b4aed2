#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The find window and the zoom window in the viewer: on a Japanese-English
# dictionary of a few entries and the longest entry of EDICT (a hand-written
# long entry when EDICT is not installed), Ctrl+F finds a word that stands in
# the long entry alone, the entry comes to the top (read back through the
# clipboard with F5), F9 opens the zoom window on it (screenshot kept) and Esc
# closes it. At exit the settings file holds the find text and the zoom
# window's place.
source "$(dirname "$0")/lib.sh"

e2e_install
EDICT=/usr/share/edict/edict
{
    printf '猫 [ねこ] /(n) cat/\n犬 [いぬ] /(n) dog/\n'
    printf '長文 [ちょうぶん] /(n) long sentence/long composition/(2) a text long enough to be read in the zoom window, not in the main view/(3) a third sense of the word, with a comma/\n'
} | iconv -f UTF-8 -t EUC-JP >"$E2E_DIR/edict"
if [ -r "$EDICT" ]; then
    LC_ALL=C awk 'length > max { max = length; line = $0 } END { print line }' "$EDICT" >>"$E2E_DIR/edict"
fi
long=$(tail -n 1 "$E2E_DIR/edict" | iconv -f EUC-JP -t UTF-8)
"$E2E_DIR/tovix-tool" --yes import-edict --jpn "$E2E_DIR/edict" "$E2E_DIR/je.txt" 2>/dev/null ||
    fail "importing the entries failed"
"$E2E_DIR/tovix-tool" --yes exm-to-tovix --jpn "$E2E_DIR/je.txt" "$E2E_DIR/JE.DIC" 2>/dev/null ||
    fail "building the dictionary failed"

# The longest word of the long entry that the find stops at once only (and
# that the dictionary file's own text, its path, does not hold).
word=""
for candidate in $(grep -oE '[A-Za-z]{5,}' <<<"$long" | awk '{ print length, $0 }' | sort -rn | cut -d' ' -f2); do
    if [[ "${E2E_DIR,,}" != *"${candidate,,}"* ]] &&
        [ "$("$E2E_DIR/tovix-tool" find --all "$E2E_DIR/JE.DIC" "$candidate" | wc -l)" -eq 1 ]; then
        word=$candidate
        break
    fi
done
[ -n "$word" ] || fail "no word of the long entry is found once"
expected=$("$E2E_DIR/tovix-tool" find "$E2E_DIR/JE.DIC" "$word" | sed -n 2p)

e2e_start_x
e2e_start_viewer tovix "$E2E_DIR/JE.DIC" JPN
e2e_focus_window "Tovix .ﾒｲﾝ."
main=$window

e2e_open "Tovix \\(検索\\)" ctrl+f
xdotool type --delay 50 "$word"
xdotool key Return
e2e_await_gone "Tovix \\(検索\\)"
e2e_focus "$main"
e2e_screenshot find-hit
e2e_clipboard_set "sentinel"
e2e_send_until 'e2e_clipboard_is "$expected"' F5 ||
    fail "the entry at the top is '$(e2e_clipboard_first_line)', not '$expected' (find text $word)"

e2e_open "Tovix \\(拡大表示\\)" F9
e2e_screenshot zoom-window
e2e_send_until "e2e_no_window 'Tovix \\(拡大表示\\)'" Escape ||
    fail "Esc did not close the zoom window"

e2e_focus "$main"
xdotool key F10
e2e_await_exit "$viewer"
ini="$E2E_DIR/tovix.INI"
tr -d '\r' <"$ini" | grep -qx "1=$word" || fail "the settings file lacks the find text $word"
awk '/^\[FormView\]/ { on = 1; next } /^\[/ { on = 0 } on && /^Width=/ { print }' "$ini" |
    grep -qv 'Width=-1' || fail "the settings file lacks the zoom window's place"
echo "zoom and find end to end: ok ($word)"
