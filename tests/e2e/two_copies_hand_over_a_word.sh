#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two running copies, one Japanese-English and one English-Japanese, carry a
# search word from one to the other: a word typed in the first, Ctrl+K there
# (copy the search text, switch to the other copy), Ctrl+L in the second
# (clear the search field and paste). The second copy must then have the
# keyboard focus and hold the word in its search field.
#
# The search field is read back through the clipboard: a sentinel text is put
# on it once the paste is done, then Ctrl+C in the second copy copies its
# search text over it, so the clipboard holds the word only if that field
# does.
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'apple\t\x97\xd1\x8c\xe7\r\nbank\t\x8b\xe2\x8d\x73\r\n' >"$E2E_DIR/words.exm"
printf 'かんがえ[考え]\tthought\r\nかんじ[漢字]\tChinese character\r\n' |
    iconv -f UTF-8 -t CP932 >"$E2E_DIR/kana.exm"
"$E2E_DIR/tovix-tool" exm-to-tovix --eng --yes "$E2E_DIR/words.exm" "$E2E_DIR/WORDS.DIC" 2>/dev/null ||
    fail "building the English-Japanese dictionary failed"
"$E2E_DIR/tovix-tool" exm-to-tovix --jpn --yes "$E2E_DIR/kana.exm" "$E2E_DIR/KANA.DIC" 2>/dev/null ||
    fail "building the Japanese-English dictionary failed"

e2e_start_x
e2e_start_viewer first "$E2E_DIR/KANA.DIC" JPN
e2e_await_window "Tovix .ﾒｲﾝ.  .*KANA.DIC"
first=$window
e2e_start_viewer second "$E2E_DIR/WORDS.DIC" ENG
e2e_await_window "Tovix .ﾒｲﾝ.  .*WORDS.DIC"
second=$window
[ "$first" != "$second" ] || fail "the two copies share a window"

e2e_focus "$first"
# Romaji turns into kana as it is typed: kannji -> かんじ.
xdotool type --delay 80 "kannji"
xdotool key ctrl+k
e2e_until e2e_focused_is "$second" || fail "Ctrl+K did not move the focus to the second copy"
xdotool key ctrl+l
# F5 (copy the entry at the top) comes after Ctrl+L: once its copy replaced the
# word on the clipboard, Ctrl+L has pasted, and the sentinel cannot be pasted.
e2e_send_until "! e2e_clipboard_is かんじ" F5 || fail "F5 copied nothing in the second copy"
e2e_clipboard_set "sentinel"
e2e_send_until "e2e_clipboard_is かんじ" ctrl+c ||
    fail "the second copy's search field holds '$(e2e_clipboard_first_line)'"
e2e_screenshot two-copies-pasted
e2e_focused_is "$second" || fail "the second copy lost the focus"
if e2e_window "警告" >/dev/null; then
    fail "a warning was shown"
fi

# Ctrl+W in the second copy switches back to the first.
xdotool key ctrl+w
e2e_until e2e_focused_is "$first" || fail "Ctrl+W did not move the focus back to the first copy"
echo "two copies end to end: ok"
