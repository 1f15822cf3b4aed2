#!/usr/bin/env bash
# Two running copies, one Japanese-English and one English-Japanese, carry a
# search word from one to the other: a word typed in the first, Ctrl+K there
# (copy the search text, switch to the other copy), Ctrl+L in the second
# (clear the search field and paste). The second copy must then have the
# keyboard focus and hold the word in its search field.
#
# The search field is read back through the clipboard: a sentinel text is put
# on it first, then Ctrl+C in the second copy copies its search text over it,
# so the clipboard holds the word only if that field does.
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'apple\t\x97\xd1\x8c\xe7\r\nbank\t\x8b\xe2\x8d\x73\r\n' >"$E2E_DIR/words.exm"
printf 'かんがえ[考え]\tthought\r\nかんじ[漢字]\tChinese character\r\n' |
    iconv -f UTF-8 -t CP932 >"$E2E_DIR/kana.exm"
"$E2E_DIR/tovix-tool" exm-to-tovix --eng --yes "$E2E_DIR/words.exm" "$E2E_DIR/WORDS.DIC" 2>/dev/null ||
    fail "building the English-Japanese dictionary failed"
"$E2E_DIR/tovix-tool" exm-to-tovix --jpn --yes "$E2E_DIR/kana.exm" "$E2E_DIR/KANA.DIC" 2>/dev/null ||
    fail "building the Japanese-English dictionary failed"

# The visible window whose title ends with $1.
window_ending() {
    xdotool search --onlyvisible --name "$1\$" 2>/dev/null | head -n 1
}

focused_is() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

clipboard_is() {
    [ "$(xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null)" = "$1" ]
}

e2e_start_x
"$E2E_DIR/tovix" "$E2E_DIR/KANA.DIC" JPN >"$E2E_DIR/first.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_for 20 window_ending "KANA.DIC" || fail "no Japanese-English window"
first=$(window_ending "KANA.DIC")
"$E2E_DIR/tovix" "$E2E_DIR/WORDS.DIC" ENG >"$E2E_DIR/second.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_for 20 window_ending "WORDS.DIC" || fail "no English-Japanese window"
second=$(window_ending "WORDS.DIC")
[ "$first" != "$second" ] || fail "the two copies share a window"

xdotool windowfocus --sync "$first"
e2e_wait_for 10 focused_is "$first" || fail "the first copy did not take the focus"
sleep 0.5
# Romaji turns into kana as it is typed: kannji -> かんじ.
xdotool type --delay 80 "kannji"
sleep 0.5
xdotool key ctrl+k
e2e_wait_for 10 focused_is "$second" || fail "Ctrl+K did not move the focus to the second copy"
sleep 0.5
xdotool key ctrl+l
sleep 1
import -window root "$E2E_ARTIFACTS/two-copies-pasted.png"

printf 'sentinel' | xclip -selection clipboard -i
e2e_wait_for 5 clipboard_is "sentinel" || fail "could not set the clipboard"
xdotool key ctrl+c
e2e_wait_for 10 clipboard_is "かんじ" ||
    fail "the second copy's search field holds '$(xclip -selection clipboard -o 2>/dev/null)'"
focused_is "$second" || fail "the second copy lost the focus"
if xdotool search --onlyvisible --name "^警告" >/dev/null 2>&1; then
    fail "a warning was shown"
fi

# Ctrl+W in the second copy switches back to the first.
xdotool key ctrl+w
e2e_wait_for 10 focused_is "$first" || fail "Ctrl+W did not move the focus back to the first copy"
echo "two copies end to end: ok"
