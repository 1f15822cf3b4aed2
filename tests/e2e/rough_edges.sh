#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Three faults a new user met: the zoom window opens wide enough for its
# wrapped lines (a 60-byte kana line at the default font and wrap length);
# a warning with 中止 alone closes on Enter and on keypad Enter; Esc in a
# menu gives the keyboard back to the search field, so that letters typed
# next are a search word and open no menu.
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'kana\tあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ\ncat\tねこ\n' |
    iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$E2E_DIR/words.txt"
"$E2E_DIR/tovix-tool" --yes exm-to-tovix --eng "$E2E_DIR/words.txt" "$E2E_DIR/EJ.DIC" \
    >/dev/null 2>&1 || fail "building the dictionary failed"

e2e_start_x
e2e_start_viewer tovix "$E2E_DIR/EJ.DIC" ENG
e2e_focus_window "Tovix .ﾒｲﾝ.  .*EJ.DIC"
main=$window

# The zoom window: 30 kana at the default font need more than the 560
# pixels of the main window it used to copy.
xdotool type --delay 80 "kana"
e2e_open "Tovix .拡大表示." F9
width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')
e2e_screenshot zoom-wide-enough
[ "$width" -gt 560 ] || fail "the zoom window is $width pixels wide"
xdotool key Escape
e2e_await_gone "Tovix .拡大表示."

# A warning with 中止 alone: a tool window's input file that is missing.
e2e_focus "$main"
e2e_menu "英和辞書作成 \\(タブ区切り \\[EXM\\] を変換\\)" alt+m b
tool=$window
xdotool type --delay 20 "$E2E_DIR/missing.txt"
xdotool key alt+2
xdotool type --delay 20 "$E2E_DIR/OUT.DIC"
for enter in Return KP_Enter; do
    e2e_focus "$tool"
    e2e_open "警告" alt+o
    e2e_screenshot abort-warning
    xdotool key "$enter"
    e2e_await_gone "警告"
done
e2e_focus "$tool"
xdotool key Escape
e2e_await_gone "英和辞書作成"

# Alt+F, Esc: the letters typed next go into the search field.
e2e_focus "$main"
xdotool key Escape
e2e_menu_until "true" alt+f Escape || fail "the file menu did not open"
before=$(e2e_visible_windows)
xdotool type --delay 120 "cat"
sleep 1
e2e_no_new_window_since "$before" || fail "typing after Esc opened a menu"
e2e_clipboard_set "sentinel"
e2e_send_until "e2e_clipboard_is cat" ctrl+c ||
    fail "after Esc the field holds '$(e2e_clipboard_first_line)'"
xdotool key F10
e2e_await_exit "$viewer"
echo "rough edges: ok"
