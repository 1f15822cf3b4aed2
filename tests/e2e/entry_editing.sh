#!/usr/bin/env bash
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
    xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null | tr -d '\r'
}
clipboard_is() {
    [ "$(clipboard_text)" = "$1" ]
}
no_window() {
    [ -z "$(e2e_window "$1")" ]
}
# top_entry_is HEADWORD-LINE TRANSLATION-LINE: F5 copies the entry at the top.
top_entry_is() {
    printf 'sentinel' | xclip -selection clipboard -i
    e2e_wait_for 5 clipboard_is "sentinel" || fail "could not set the clipboard"
    xdotool key F5
    e2e_wait_for 5 clipboard_is "$(printf '%s\n%s' "$1" "$2")"
}
# type_word WORD: the search field emptied (Esc), then the word typed.
type_word() {
    xdotool key Escape
    xdotool type --delay 60 "$1"
    sleep 0.5
}
# paste_text TEXT: Japanese text goes in through the clipboard (Ctrl+V), as
# xdotool may lose a character of it under load.
paste_text() {
    printf '%s' "$1" | xclip -selection clipboard -i
    e2e_wait_for 5 clipboard_is "$1" || fail "could not set the clipboard"
    xdotool key ctrl+v
}
looked_up() {
    "$E2E_DIR/tovix-tool" lookup --eng --paste "$E2E_DIR/WORDS.DIC" "$1" | cut -f4-
}
entry_window_shown() {
    e2e_wait_for 10 e2e_window "$ENTRY_WINDOW" || fail "$1 did not open the entry window"
    sleep 0.3
}
entry_window_closed() {
    e2e_wait_for 10 no_window "$ENTRY_WINDOW" || fail "the entry window did not close ($1)"
    sleep 1
}

e2e_start_x
"$E2E_DIR/tovix" "$E2E_DIR/WORDS.DIC" ENG >"$E2E_DIR/tovix.log" 2>&1 &
viewer=$!
E2E_PIDS+=($viewer)
e2e_wait_for 20 e2e_window "Tovix" || fail "no main window"
main=$(e2e_window "Tovix")
xdotool windowfocus --sync "$main"
sleep 0.5

# Add: English, Tab, Japanese (pasted), Enter.
xdotool key shift+F2
entry_window_shown "Shift+F2"
xdotool type --delay 60 "apricot"
xdotool key Tab
paste_text "あんず"
import -window root "$E2E_ARTIFACTS/entry-add.png"
xdotool key Return
entry_window_closed "add"
top_entry_is "apricot " "	あんず" || fail "after the add the top entry is '$(clipboard_text)'"
[ "$(looked_up apricot)" = "1	apricot " ] || fail "the part file has no apricot: $(looked_up apricot)"

# Found by typing, changed: the English field is read-only, the Japanese one
# takes the new text.
type_word "apple"
top_entry_is "apple " "	りんご" || fail "typing apple shows '$(clipboard_text)'"
type_word "apri"
top_entry_is "apricot " "	あんず" || fail "typing apri shows '$(clipboard_text)'"
xdotool key shift+F3
entry_window_shown "Shift+F3"
xdotool key ctrl+a
paste_text "杏"
import -window root "$E2E_ARTIFACTS/entry-change.png"
xdotool key Return
entry_window_closed "change"
top_entry_is "apricot " "	杏" || fail "after the change the top entry is '$(clipboard_text)'"

# Deleted: 削除実行 has the focus, Enter presses it.
xdotool key shift+F4
entry_window_shown "Shift+F4"
import -window root "$E2E_ARTIFACTS/entry-delete.png"
xdotool key Return
entry_window_closed "delete"
[ "$(looked_up apricot | cut -f1)" = 0 ] || fail "apricot is still there: $(looked_up apricot)"
type_word "apri"
top_entry_is "apple " "	りんご" || fail "after the delete typing apri shows '$(clipboard_text)'"

xdotool key F10
e2e_wait_for 10 bash -c "! kill -0 $viewer" || fail "the viewer did not exit"
grep -q "apricot	杏" <(iconv -f CP932 -t UTF-8 "$E2E_DIR/TOVIXDLE.TXT") || fail "no delete log line"
