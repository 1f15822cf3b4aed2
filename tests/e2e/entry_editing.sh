#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Entry editing in the viewer, on a small English-Japanese dictionary: Shift+F2
# opens the entry window, an entry typed there is added and the view shows it;
# typing its headword finds it, Shift+F3 changes its translation, Shift+F4
# deletes it. The entry at the top is read back through the clipboard (F5
# copies it), the files through tovix-tool lookup; screenshots of the window
# are kept.
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'abandon\t捨てる\r\napple\tりんご\r\nbank\t銀行\r\n' | iconv -f UTF-8 -t CP932 >"$E2E_DIR/words.exm"
"$E2E_DIR/tovix-tool" exm-to-tovix --eng --yes "$E2E_DIR/words.exm" "$E2E_DIR/WORDS.DIC" 2>/dev/null ||
    fail "building the dictionary failed"

ENTRY_WINDOW="Tovix \\(登録 / 編集 / 削除\\)"

clipboard_text() {
    xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null | tr -d '\r' || true
}
clipboard_is() {
    [ "$(clipboard_text)" = "$1" ]
}
# top_entry_is HEADWORD-LINE TRANSLATION-LINE: F5 copies the entry at the top.
top_entry_is() {
    e2e_clipboard_set "sentinel"
    e2e_focus "$main"
    expected=$(printf '%s\n%s' "$1" "$2")
    e2e_send_until 'clipboard_is "$expected"' F5
}
# type_word WORD: the search field emptied (Esc), then the word typed.
type_word() {
    e2e_focus "$main"
    xdotool key Escape
    xdotool type --delay 60 "$1"
}
# paste_text TEXT: Japanese text goes in through the clipboard (Ctrl+V), as
# xdotool may lose a character of it under load.
paste_text() {
    e2e_clipboard_set "$1"
    xdotool key ctrl+v
}
looked_up() {
    "$E2E_DIR/tovix-tool" lookup --eng --paste "$E2E_DIR/WORDS.DIC" "$1" | cut -f4-
}
looked_up_is() {
    [ "$(looked_up "$1")" = "$2" ]
}
entry_window_closed() {
    e2e_await_gone "$ENTRY_WINDOW"
}

e2e_start_x
e2e_start_viewer tovix "$E2E_DIR/WORDS.DIC" ENG
e2e_focus_window "Tovix .ﾒｲﾝ."
main=$window

# Add: English, Tab, Japanese (pasted), Enter.
e2e_open "$ENTRY_WINDOW" shift+F2
xdotool type --delay 60 "apricot"
xdotool key Tab
paste_text "あんず"
e2e_screenshot entry-add
xdotool key Return
entry_window_closed "add"
top_entry_is "apricot " "	あんず" || fail "after the add the top entry is '$(clipboard_text)'"
e2e_until looked_up_is apricot "1	apricot " || fail "the part file has no apricot: $(looked_up apricot)"

# Found by typing, changed: the English field is read-only, the Japanese one
# takes the new text.
type_word "apple"
top_entry_is "apple " "	りんご" || fail "typing apple shows '$(clipboard_text)'"
type_word "apri"
top_entry_is "apricot " "	あんず" || fail "typing apri shows '$(clipboard_text)'"
e2e_open "$ENTRY_WINDOW" shift+F3
xdotool key ctrl+a
paste_text "杏"
e2e_screenshot entry-change
xdotool key Return
entry_window_closed "change"
top_entry_is "apricot " "	杏" || fail "after the change the top entry is '$(clipboard_text)'"

# Deleted: 削除実行 has the focus, Enter presses it.
e2e_open "$ENTRY_WINDOW" shift+F4
e2e_screenshot entry-delete
xdotool key Return
entry_window_closed "delete"
e2e_until eval '[ "$(looked_up apricot | cut -f1)" = 0 ]' ||
    fail "apricot is still there: $(looked_up apricot)"
type_word "apri"
top_entry_is "apple " "	りんご" || fail "after the delete typing apri shows '$(clipboard_text)'"

e2e_focus "$main"
xdotool key F10
e2e_await_exit "$viewer"
grep -q "apricot	杏" <(iconv -f CP932 -t UTF-8 "$E2E_DIR/TOVIXDLE.TXT") || fail "no delete log line"
echo "entry editing end to end: ok"
