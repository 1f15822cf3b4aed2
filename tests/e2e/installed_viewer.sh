#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program installed with `cmake --install` into a prefix of its own: the
# files a desktop needs are there and the desktop entry is valid; the viewer,
# started as the desktop entry starts it with one dictionary file, opens it in
# the direction of its table; its program folder is read-only, so the
# settings go to the per-user folder; the help menu opens the installed
# manual through the desktop (a recording xdg-open stands in for the
# browser).
source "$(dirname "$0")/lib.sh"

build=$(cd "$E2E_BIN/.." && pwd)
prefix="$E2E_DIR/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_DIR/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -3 "$E2E_DIR/install.log")"
for file in bin/tovix bin/tovix-tool share/applications/tovix.desktop \
    share/mime/packages/tovix-dictionary.xml share/icons/hicolor/scalable/apps/tovix.svg \
    share/icons/hicolor/48x48/apps/tovix.png share/tovix/help/index.html \
    share/man/man1/tovix-tool.1; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
desktop-file-validate "$prefix/share/applications/tovix.desktop" ||
    fail "the desktop entry is not valid"

# The user: the current one, or nobody when that is root (root writes into a
# read-only folder), with a home of its own.
home="$E2E_DIR/home"
mkdir -p "$home" "$E2E_DIR/fakebin"
chmod 755 "$E2E_DIR"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
chmod -R a-w "$prefix"
cat >"$E2E_DIR/fakebin/xdg-open" <<SCRIPT
#!/bin/sh
echo "\$@" >>"$home/opened"
SCRIPT
chmod 755 "$E2E_DIR/fakebin/xdg-open"
run_as_user() {
    env HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home" \
        PATH="$E2E_DIR/fakebin:$prefix/bin:$PATH" "${as_user[@]}" "$@"
}

printf '\x82\xa9\x82\xf1\x82\xb6[\x8a\xbf\x8e\x9a]\tChinese character\r\n\x82\xb3\x82\xa9\x82\xc8[\x8b\x9b]\tfish\r\n' \
    >"$home/je.txt"
chmod a+r "$home/je.txt"
run_as_user tovix-tool exm-to-tovix --jpn "$home/je.txt" "$home/JE.DIC" 2>/dev/null ||
    fail "the installed tovix-tool could not build a dictionary"
[ -f "$home/.local/share/tovix/TOVIXSRT.TXT" ] || fail "work files not in the per-user folder"
run_as_user tovix-tool add --jpn "$home/JE.DIC" とり "[鳥]" bird >/dev/null 2>&1 ||
    fail "the installed tovix-tool could not add an entry"
for file in tovix.AD1 TOVIXADJ.TXT; do
    [ -f "$home/.local/share/tovix/$file" ] || fail "$file not in the per-user folder"
done

e2e_start_x
# The desktop entry's command with %f replaced by the file.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/tovix.desktop")
read -r -a command <<<"${exec_line/\%f/$home/JE.DIC}"
run_as_user "${command[@]}" >"$E2E_DIR/tovix.log" 2>&1 &
viewer=$!
E2E_PIDS+=("$viewer")
e2e_focus_window "Tovix .ﾒｲﾝ."
title=$(xdotool getwindowname "$window")
[ "$title" = "Tovix (ﾒｲﾝ)  $home/JE.DIC" ] || fail "caption is '$title'"

# Romaji typed into the Japanese field: the dictionary opened as J-E (the
# search field then holds the kana, read back through the clipboard).
xdotool type --delay 80 "sakana"
e2e_clipboard_set "sentinel"
e2e_send_until 'e2e_clipboard_is さかな' ctrl+c ||
    fail "the search field holds '$(e2e_clipboard_first_line)', not さかな"
e2e_screenshot installed-jpn

e2e_menu_until 'test -s "$home/opened"' alt+h c || fail "the help was not opened"
grep -q "$prefix/share/tovix/help/index.html" "$home/opened" ||
    fail "the help opened is $(cat "$home/opened")"

e2e_focus "$window"
xdotool key F10
e2e_await_exit "$viewer"
grep -q '^\[FormMain\]' "$home/.local/share/tovix/tovix.INI" ||
    fail "no settings in the per-user folder"
[ ! -e "$prefix/bin/tovix.INI" ] || fail "settings written beside the program"
chmod -R u+w "$prefix"
echo "installed viewer: ok"
