#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The viewer on a dictionary built by the tools: the caption names the
# dictionary, typing moves the view (the entry at the top read back through
# the clipboard with F5), the menu's exit question closes it with status 0,
# and the settings file then holds the main window's bounds.
source "$(dirname "$0")/lib.sh"

e2e_install
printf 'apple\t\x97\xd1\x8c\xe7\r\nbanana\t\x83\x6f\x83\x69\x83\x69\r\nbank\t\x8b\xe2\x8d\x73\r\ncat\t\x94\x4c\r\n' \
    >"$E2E_DIR/words.exm"
"$E2E_DIR/tovix-tool" exm-to-tovix --eng --yes "$E2E_DIR/words.exm" "$E2E_DIR/WORDS.DIC" 2>/dev/null ||
    fail "building the dictionary failed"

e2e_start_x
e2e_start_viewer tovix "$E2E_DIR/WORDS.DIC" ENG
e2e_focus_window "Tovix .ﾒｲﾝ."
title=$(xdotool getwindowname "$window")
[ "$title" = "Tovix (ﾒｲﾝ)  $E2E_DIR/WORDS.DIC" ] || fail "caption is '$title'"

xdotool type --delay 80 "ban"
e2e_clipboard_set "sentinel"
e2e_send_until "e2e_clipboard_is banana" F5 ||
    fail "the entry at the top is '$(e2e_clipboard_first_line)', not banana"
e2e_screenshot viewer-typed

# ﾌｧｲﾙ(&F) -> 終了(&X), then the question's default button (はい).
e2e_menu "情報" alt+f x
xdotool key Return
e2e_await_exit "$viewer"

ini="$E2E_DIR/tovix.INI"
[ -f "$ini" ] || fail "no settings file"
grep -q '^\[FormMain\]' "$ini" || fail "settings file lacks [FormMain]"
for key in Mem Left Top Width Height; do
    grep -q "^$key=" "$ini" || fail "settings file lacks FormMain $key"
done
echo "viewer end to end: ok"
