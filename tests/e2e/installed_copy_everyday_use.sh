#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed program as a new user meets it, with a home of its own: the
# first start registers the default dictionaries installed with the program
# and opens the English-Japanese one at once; nothing is written into the
# prefix's bin, settings and history go to ~/.local/share/tovix. Ctrl+O opens
# another dictionary file in the direction of its table; words settled on go
# into the history, Alt+Left goes back to one and the history window
# chooses one; `tovix --lookup` hands a
# word to the running copy; a start without arguments reopens the last
# dictionary. Both manual pages are installed and read without warnings.
source "$(dirname "$0")/lib.sh"

build=$(cd "$E2E_BIN/.." && pwd)
prefix="$E2E_DIR/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_DIR/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -3 "$E2E_DIR/install.log")"
for page in tovix tovix-tool; do
    file="$prefix/share/man/man1/$page.1"
    [ -f "$file" ] || fail "no manual page $page(1)"
    warnings=$(LANG=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null || true)
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
    for section in NAME SYNOPSIS DESCRIPTION FILES EXAMPLES; do
        grep -q "^\.SH \"\?$section" "$file" || fail "$page(1) has no $section section"
    done
done
"$prefix/bin/tovix" --help >"$E2E_DIR/help.out" 2>&1 || fail "tovix --help failed"
grep -q -- "--lookup" "$E2E_DIR/help.out" || fail "tovix --help printed: $(head -3 "$E2E_DIR/help.out")"

home="$E2E_DIR/home"
mkdir -p "$home"
run_as_user() {
    env HOME="$home" XDG_DATA_HOME="$home/.local/share" PATH="$prefix/bin:$PATH" "$@"
}

# The default dictionaries as the build makes them (by their bare names), when
# this build did not make them from EDICT.
dicts="$prefix/share/tovix/dictionaries"
if [ ! -f "$dicts/EDICT-EJ.DIC" ]; then
    mkdir -p "$dicts"
    printf 'apple\tりんご\nbanana\tバナナ\n' | iconv -f UTF-8 -t CP932 >"$dicts/EDICT-EJ.txt"
    printf 'さかな[魚]\tfish\nとり[鳥]\tbird\n' | iconv -f UTF-8 -t CP932 >"$dicts/EDICT-JE.txt"
    (cd "$dicts" &&
        run_as_user tovix-tool --yes exm-to-tovix --eng EDICT-EJ.txt EDICT-EJ.DIC &&
        run_as_user tovix-tool --yes exm-to-tovix --jpn EDICT-JE.txt EDICT-JE.DIC) \
        >"$E2E_DIR/defaults.log" 2>&1 || fail "building the default dictionaries failed"
    rm -f "$home/.local/share/tovix/tovix.INI"
fi
head -n 1 "$dicts/EDICT-JE.DIC" | grep -q '^EDICT-JE.DIC' ||
    fail "the dictionary file names '$(head -n 1 "$dicts/EDICT-JE.DIC")'"
bin_before=$(ls -A "$prefix/bin")

e2e_start_x
run_as_user tovix >"$E2E_DIR/tovix.log" 2>&1 &
viewer=$!
E2E_PIDS+=("$viewer")
e2e_focus_window "Tovix .ﾒｲﾝ.  .*EDICT-EJ.DIC"
main=$window
xdotool type --delay 80 "banana"
e2e_clipboard_set "sentinel"
e2e_send_until "e2e_clipboard_is banana" F5 ||
    fail "the entry at the top is '$(e2e_clipboard_first_line)', not banana"
e2e_screenshot installed-first-start

# Ctrl+O: the Japanese-English set, told by its table.
e2e_open "辞書ﾌｧｲﾙを開く" ctrl+o
xdotool type --delay 20 "$dicts/EDICT-JE.DIC"
xdotool key Return
e2e_until e2e_title_matches "$main" "Tovix .ﾒｲﾝ.  .*EDICT-JE.DIC" ||
    fail "Ctrl+O opened '$(xdotool getwindowname "$main")'"
e2e_focus "$main"
xdotool type --delay 80 "sakana"
e2e_send_until "e2e_clipboard_is さかな" ctrl+c || fail "the field holds '$(e2e_clipboard_first_line)'"
xdotool key Escape
xdotool type --delay 80 "tori"
e2e_send_until "e2e_clipboard_is とり" ctrl+c || fail "the field holds '$(e2e_clipboard_first_line)'"
# Alt+Left: back to the word before.
e2e_clipboard_set "sentinel"
xdotool key alt+Left
e2e_send_until "e2e_clipboard_is さかな" ctrl+c ||
    fail "after Alt+Left the field holds '$(e2e_clipboard_first_line)'"
e2e_screenshot history-back
# 検索 → 検索履歴...: the list, newest first; the second word is chosen.
e2e_menu "Tovix .検索履歴." alt+s h
e2e_screenshot history-window "$window"
xdotool key Down Return
e2e_await_gone "Tovix .検索履歴."
e2e_focus "$main"
e2e_clipboard_set "sentinel"
e2e_send_until "e2e_clipboard_is とり" ctrl+c ||
    fail "the history window chose '$(e2e_clipboard_first_line)'"

# A word handed over from outside comes into this copy's field.
run_as_user tovix --lookup --jpn とり >"$E2E_DIR/lookup.log" 2>&1 ||
    fail "tovix --lookup failed: $(cat "$E2E_DIR/lookup.log")"
e2e_focus "$main"
e2e_send_until "e2e_clipboard_is とり" ctrl+c ||
    fail "after --lookup the field holds '$(e2e_clipboard_first_line)'"
e2e_screenshot lookup-handed-over
xdotool key F10
e2e_await_exit "$viewer"

# Reopened at the next start: the last dictionary, in its direction. With
# 選択した文字列を検索 on, text selected in another window is looked up
# while the viewer is not the active window.
ini="$home/.local/share/tovix/tovix.INI"
if grep -q '^Selection=' "$ini"; then
    sed -i 's/^Selection=0/Selection=1/' "$ini"
else
    printf '[Lookup]\r\nSelection=1\r\n' >>"$ini"
fi
run_as_user tovix >"$E2E_DIR/tovix2.log" 2>&1 &
viewer=$!
E2E_PIDS+=("$viewer")
e2e_focus_window "Tovix .ﾒｲﾝ.  .*EDICT-JE.DIC"
main=$window
# The word is selected while the keyboard is with the root window (the
# viewer is not active) and taken after a pause of 400 ms (a busy machine
# may take longer: the selection is made again until it is looked up).
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
primary_is() {
    [ "$(xclip -selection primary -o 2>/dev/null)" = "$1" ]
}
selection_looked_up() {
    xdotool windowfocus "$root"
    # Qt takes a moment to count the window as inactive after it has lost
    # the keyboard.
    sleep 1
    printf 'さかな' | xclip -selection primary -i
    e2e_wait_for 5 primary_is さかな
    sleep 1
    e2e_focus "$main"
    xdotool key ctrl+c
    e2e_wait_for 2 e2e_clipboard_is さかな
}
e2e_clipboard_set "sentinel"
e2e_until selection_looked_up ||
    fail "the selected word was not looked up: the field holds '$(e2e_clipboard_first_line)'"
e2e_screenshot selection-looked-up
xdotool key F10
e2e_await_exit "$viewer"

[ "$(ls -A "$prefix/bin")" = "$bin_before" ] || fail "written into bin: $(ls -A "$prefix/bin")"
for file in tovix.INI tovix.HIS; do
    [ -f "$home/.local/share/tovix/$file" ] || fail "no $file in ~/.local/share/tovix"
done
grep -q $'^E\tbanana\r$' "$home/.local/share/tovix/tovix.HIS" || fail "banana is not in the history"
echo "installed copy, everyday use: ok"
