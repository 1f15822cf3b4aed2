#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The settings windows as a user meets them: a second dictionary registered
# through the dictionary list window and opened with F7, the options window
# left with Esc, and the key list opened with F1 and closed with Esc.
# Screenshots of the three windows are kept as artifacts.
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'apple\t\x97\xd1\x8c\xe7\r\nbank\t\x8b\xe2\x8d\x73\r\n' >"$E2E_DIR/words.exm"
printf 'pear\t\x97\x9c\r\nplum\t\x83\x76\x83\x89\x83\x80\r\n' >"$E2E_DIR/second.exm"
for name in words second; do
    upper=$(echo "$name" | tr a-z A-Z)
    "$E2E_DIR/tovix-tool" exm-to-tovix --eng --yes "$E2E_DIR/$name.exm" "$E2E_DIR/$upper.DIC" \
        2>/dev/null || fail "building $upper.DIC failed"
done
"$E2E_DIR/tovix-tool" register --eng --settings "$E2E_DIR/tovix.INI" Words "$E2E_DIR/WORDS.DIC" \
    >/dev/null 2>&1 || fail "registering the first dictionary failed"

e2e_start_x
e2e_start_viewer tovix "$E2E_DIR/WORDS.DIC" ENG
e2e_focus_window "Tovix .ﾒｲﾝ."
main=$window

# 環境設定(&K) -> 英和辞書設定(&E): the list holds the first dictionary.
e2e_menu "Tovix .辞書設定" alt+k e
list=$window
e2e_screenshot TForm11 "$list"
e2e_open "Tovix .辞書登録" alt+n
xdotool type --delay 30 "Second"
xdotool key Tab
xdotool type --delay 30 "$E2E_DIR/SECOND.DIC"
xdotool key alt+o
e2e_await_gone "Tovix .辞書登録"
e2e_focus "$list"
e2e_screenshot TForm11-registered "$list"
xdotool key alt+o
e2e_await_gone "Tovix .辞書設定"
e2e_until grep -q '^2=Second' "$E2E_DIR/tovix.INI" || fail "the second dictionary was not saved"
grep -q "^2=$E2E_DIR/SECOND.DIC" "$E2E_DIR/tovix.INI" || fail "its file was not saved"

# F7 offers it at once; the second line opens it here.
e2e_focus "$main"
e2e_open "英和辞書選択" F7
xdotool key Down Return
e2e_until e2e_title_matches "$main" ".*SECOND.DIC" ||
    fail "F7 did not open the second dictionary: '$(xdotool getwindowname "$main")'"

# 環境設定(&K) -> 各種設定(&O), left with Esc and Yes.
e2e_focus "$main"
e2e_menu "Tovix .各種設定" alt+k o
e2e_screenshot TForm2 "$window"
e2e_open "情報" Escape
e2e_screenshot back-to-main-question "$window"
xdotool key Return
e2e_await_gone "Tovix .各種設定"

# F1: the key list; Esc closes it.
e2e_focus "$main"
e2e_open "Tovix .ｷｰ操作一覧" F1
e2e_screenshot TForm10 "$window"
e2e_send_until "e2e_no_window 'Tovix .ｷｰ操作一覧'" Escape || fail "Esc did not close the key list"

if e2e_window "警告" >/dev/null; then
    fail "a warning was shown"
fi
e2e_focus "$main"
xdotool key F10
e2e_await_exit "$viewer"
echo "dictionary lists and options end to end: ok"
