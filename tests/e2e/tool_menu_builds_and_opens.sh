#!/usr/bin/env bash
# A dictionary built from the viewer's menu: 作成(&M) → 英和辞書作成 opens the
# tool window, the input and output names are typed, 実行(&O) runs the chain
# (screenshots of the window and of the main window afterwards are kept). The
# built set then opens from the command line, and a word typed in the search
# field brings its entry to the top (read back through the clipboard with F5).
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'apple\tりんご\nbanana\tバナナ\ncherry\tさくらんぼ\ndate\tなつめやし\n' |
    iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$E2E_DIR/words.txt"

clipboard_first_line() {
    xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null | head -n 1 | tr -d '\r' | sed 's/ *$//'
}
clipboard_is() {
    [ "$(clipboard_first_line)" = "$1" ]
}
title_is() {
    [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]
}
# Waits for the window whose title matches $1, focuses it and sets $window.
# A window just found may not be viewable yet, and focusing it then fails.
focus_window() {
    e2e_wait_for 10 e2e_window "$1" || fail "no window '$1'"
    window=$(e2e_window "$1" || true)
    e2e_wait_for 10 xdotool windowfocus --sync "$window" || fail "cannot focus '$1'"
    sleep 0.3
}
stop_viewer() {
    xdotool key F10
    e2e_wait_for 10 bash -c "! kill -0 $1" || fail "the viewer did not exit"
    wait "$1" && status=0 || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status"
}

e2e_start_x
"$E2E_DIR/tovix" >"$E2E_DIR/tovix.log" 2>&1 &
viewer=$!
E2E_PIDS+=($viewer)
e2e_wait_for 20 e2e_window "Tovix" || fail "no main window"
focus_window "Tovix"
main=$window

# Keys sent while a busy machine is still mapping a window can be lost: the
# menu keys are sent again until the tool window shows.
caption="英和辞書作成 \\(タブ区切り \\[EXM\\] を変換\\)"
for try in 1 2 3; do
    xdotool key --delay 150 alt+m b
    e2e_wait_for 5 e2e_window "$caption" && break
    xdotool key Escape Escape
done
focus_window "$caption"
xdotool type --delay 20 "$E2E_DIR/words.txt"
xdotool key alt+2
xdotool type --delay 20 "$E2E_DIR/EJ.DIC"
sleep 0.3
import -window root "$E2E_ARTIFACTS/tool-window.png"
xdotool key alt+o
e2e_wait_for 30 test -f "$E2E_DIR/EJ.DAT" || fail "the dictionary was not built"
e2e_wait_for 10 title_is "$main" "Tovix (ﾒｲﾝ)" || fail "the caption is '$(xdotool getwindowname "$main")'"
[ -z "$(e2e_window "$caption")" ] || fail "the tool window is still open"
import -window root "$E2E_ARTIFACTS/tool-built.png"
stop_viewer "$viewer"

"$E2E_DIR/tovix" "$E2E_DIR/EJ.DIC" ENG >>"$E2E_DIR/tovix.log" 2>&1 &
viewer=$!
E2E_PIDS+=($viewer)
e2e_wait_for 20 e2e_window "Tovix" || fail "the built dictionary did not open"
focus_window "Tovix"
xdotool type --delay 50 "che"
sleep 0.3
printf 'sentinel' | xclip -selection clipboard -i
e2e_wait_for 5 clipboard_is "sentinel" || fail "could not set the clipboard"
xdotool key F5
e2e_wait_for 5 clipboard_is "cherry" || fail "the entry at the top is '$(clipboard_first_line)', not cherry"
import -window root "$E2E_ARTIFACTS/tool-built-opened.png"
stop_viewer "$viewer"
echo "tool menu builds and opens: ok"
