#!/usr/bin/env bash
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

# Waits for the window whose title matches $1, focuses it and sets $window.
# A window just found may not be viewable yet, and focusing it then fails.
focus_window() {
    e2e_wait_for 10 e2e_window "$1" || fail "no window '$1'"
    window=$(e2e_window "$1" || true)
    e2e_wait_for 10 xdotool windowfocus --sync "$window" || fail "cannot focus '$1'"
    sleep 0.3
}

# Sends keys $2... to the focused window until the window titled $1 shows
# (keys sent while a busy machine is still mapping a window can be lost),
# then focuses it.
open_window() {
    local title=$1
    shift
    local try
    for try in 1 2 3; do
        xdotool key --delay 150 "$@"
        e2e_wait_for 5 e2e_window "$title" && break
    done
    focus_window "$title"
}

gone() {
    [ -z "$(e2e_window "$1")" ]
}

e2e_start_x
"$E2E_DIR/tovix" "$E2E_DIR/WORDS.DIC" ENG >"$E2E_DIR/tovix.log" 2>&1 &
viewer=$!
E2E_PIDS+=($viewer)
focus_window "Tovix .ﾒｲﾝ"
main=$window

# 環境設定(&K) -> 英和辞書設定(&E): the list holds the first dictionary.
open_window "Tovix .辞書設定" alt+k e
import -window "$window" "$E2E_ARTIFACTS/TForm11.png"
open_window "Tovix .辞書登録" alt+n
xdotool type --delay 30 "Second"
xdotool key Tab
xdotool type --delay 30 "$E2E_DIR/SECOND.DIC"
xdotool key alt+o
e2e_wait_for 10 gone "Tovix .辞書登録" || fail "the registration window stayed open"
focus_window "Tovix .辞書設定"
import -window "$window" "$E2E_ARTIFACTS/TForm11-registered.png"
xdotool key alt+o
e2e_wait_for 10 gone "Tovix .辞書設定" || fail "the list window stayed open"
grep -q '^2=Second' "$E2E_DIR/tovix.INI" || fail "the second dictionary was not saved"
grep -q "^2=$E2E_DIR/SECOND.DIC" "$E2E_DIR/tovix.INI" || fail "its file was not saved"

# F7 offers it at once; the second line opens it here.
e2e_wait_for 10 xdotool windowfocus --sync "$main"
open_window "英和辞書選択" F7
xdotool key Down Return
e2e_wait_for 10 bash -c "xdotool getwindowname $main | grep -q 'SECOND.DIC\$'" ||
    fail "F7 did not open the second dictionary: '$(xdotool getwindowname "$main")'"

# 環境設定(&K) -> 各種設定(&O), left with Esc and Yes.
e2e_wait_for 10 xdotool windowfocus --sync "$main"
open_window "Tovix .各種設定" alt+k o
import -window "$window" "$E2E_ARTIFACTS/TForm2.png"
open_window "情報" Escape
xdotool key Return
e2e_wait_for 10 gone "Tovix .各種設定" || fail "Esc and Yes did not close the options window"

# F1: the key list; Esc closes it.
e2e_wait_for 10 xdotool windowfocus --sync "$main"
open_window "Tovix .ｷｰ操作一覧" F1
import -window "$window" "$E2E_ARTIFACTS/TForm10.png"
xdotool key Escape
e2e_wait_for 10 gone "Tovix .ｷｰ操作一覧" || fail "Esc did not close the key list"

if [ -n "$(e2e_window "警告")" ]; then
    fail "a warning was shown"
fi
e2e_wait_for 10 xdotool windowfocus --sync "$main"
xdotool key F10
e2e_wait_for 10 bash -c "! kill -0 $viewer" || fail "the viewer did not exit"
wait "$viewer" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "dictionary lists and options end to end: ok"
