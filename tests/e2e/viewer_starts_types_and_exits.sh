#!/usr/bin/env bash
# The viewer on a dictionary built by the tools: the caption names the
# dictionary, typing moves the view, the menu's exit question closes it with
# status 0, and the settings file then holds the main window's bounds.
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'apple\t\x97\xd1\x8c\xe7\r\nbanana\t\x83\x6f\x83\x69\x83\x69\r\nbank\t\x8b\xe2\x8d\x73\r\ncat\t\x94\x4c\r\n' \
    >"$E2E_DIR/words.exm"
"$E2E_DIR/tovix-tool" exm-to-tovix --eng --yes "$E2E_DIR/words.exm" "$E2E_DIR/WORDS.DIC" 2>/dev/null ||
    fail "building the dictionary failed"

e2e_start_x
"$E2E_DIR/tovix" "$E2E_DIR/WORDS.DIC" ENG >"$E2E_DIR/tovix.log" 2>&1 &
viewer=$!
E2E_PIDS+=($viewer)

e2e_wait_for 20 e2e_window "Tovix" || fail "no main window"
window=$(e2e_window "Tovix")
title=$(xdotool getwindowname "$window")
[ "$title" = "Tovix (ﾒｲﾝ)  $E2E_DIR/WORDS.DIC" ] || fail "caption is '$title'"

xdotool windowfocus --sync "$window"
xdotool type --delay 80 "ban"
sleep 1
import -window root "$E2E_ARTIFACTS/viewer-typed.png"

# ﾌｧｲﾙ(&F) -> 終了(&X), then the question's default button (はい).
xdotool key --delay 150 alt+f x
e2e_wait_for 10 e2e_window "情報" || fail "no exit question"
question=$(e2e_window "情報")
xdotool windowfocus --sync "$question"
xdotool key Return

e2e_wait_for 10 bash -c "! kill -0 $viewer" || fail "the viewer did not exit"
wait "$viewer" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"

ini="$E2E_DIR/tovix.INI"
[ -f "$ini" ] || fail "no settings file"
for key in Mem Left Top Width Height; do
    grep -q "^$key=" "$ini" || fail "settings file lacks FormMain $key"
done
grep -q '^\[FormMain\]' "$ini" || fail "settings file lacks [FormMain]"
echo "viewer end to end: ok"
