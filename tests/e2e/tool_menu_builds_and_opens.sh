#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A dictionary built from the viewer's menu: 作成(&M) → 英和辞書作成 opens the
# tool window, the input and output names are typed, 実行(&O) runs the chain
# (screenshots of the window and of the main window afterwards are kept). The
# built set then opens from the command line, and a word typed in the search
# field brings its entry to the top (read back through the clipboard with F5).
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'apple\tりんご\nbanana\tバナナ\ncherry\tさくらんぼ\ndate\tなつめやし\n' |
    iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$E2E_DIR/words.txt"

e2e_start_x
e2e_start_viewer tovix
e2e_focus_window "Tovix .ﾒｲﾝ."
main=$window

e2e_menu "英和辞書作成 \\(タブ区切り \\[EXM\\] を変換\\)" alt+m b
xdotool type --delay 20 "$E2E_DIR/words.txt"
xdotool key alt+2
xdotool type --delay 20 "$E2E_DIR/EJ.DIC"
e2e_screenshot tool-window
xdotool key alt+o
e2e_until test -f "$E2E_DIR/EJ.DAT" || fail "the dictionary was not built"
e2e_until e2e_title_matches "$main" "Tovix .ﾒｲﾝ." ||
    fail "the caption is '$(xdotool getwindowname "$main")'"
e2e_await_gone "英和辞書作成"
e2e_screenshot tool-built
e2e_focus "$main"
xdotool key F10
e2e_await_exit "$viewer"

e2e_start_viewer tovix "$E2E_DIR/EJ.DIC" ENG
e2e_focus_window "Tovix .ﾒｲﾝ.  .*EJ.DIC"
xdotool type --delay 50 "che"
e2e_clipboard_set "sentinel"
e2e_send_until "e2e_clipboard_is cherry" F5 ||
    fail "the entry at the top is '$(e2e_clipboard_first_line)', not cherry"
e2e_screenshot tool-built-opened
xdotool key F10
e2e_await_exit "$viewer"
echo "tool menu builds and opens: ok"
