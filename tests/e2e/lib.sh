# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers of the end-to-end tests: a private X server, the program's binaries
# in a directory of their own (so that its settings and work files stay
# there), and waiting for conditions instead of sleeping. A loaded machine or
# the sanitizer build (slow to start, slow to exit) only makes a test slower:
# every wait has a generous deadline, keys go only to a window that has
# taken the focus, and a failure says what the screen and the programs showed.
set -euo pipefail

E2E_BIN=${E2E_BIN:?}
E2E_ARTIFACTS=${E2E_ARTIFACTS:?}
E2E_NAME=$(basename "$0" .sh)
# The longest wait, in seconds, for anything a test expects to happen: a
# window shown, the focus taken, a file written, a program ended.
E2E_WAIT=${E2E_WAIT:-120}
# Keys sent again when what they should do has not happened after this long
# (they can be lost while a busy machine maps or activates a window).
E2E_RESEND=${E2E_RESEND:-20}
mkdir -p "$E2E_ARTIFACTS"
# In the sanitizer build: leaks of the desktop's libraries are not ours.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

E2E_DIR=$(mktemp -d /tmp/tovix-e2e.XXXXXX)
E2E_PIDS=()
e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

# What the screen and the programs showed, for a failure: the visible windows,
# the focus, which started programs still run, their logs' ends, a screenshot.
e2e_diagnose() {
    echo "--- $E2E_NAME: diagnostics" >&2
    if [ -n "${DISPLAY:-}" ]; then
        local id
        echo "visible windows:" >&2
        for id in $(xdotool search --onlyvisible --name '' 2>/dev/null || true); do
            echo "  $id '$(xdotool getwindowname "$id" 2>/dev/null || true)'" >&2
        done
        id=$(xdotool getwindowfocus 2>/dev/null || true)
        echo "focus: $id '$(xdotool getwindowname "$id" 2>/dev/null || true)'" >&2
        import -window root "$E2E_ARTIFACTS/$E2E_NAME-failure.png" 2>/dev/null &&
            echo "screenshot: $E2E_ARTIFACTS/$E2E_NAME-failure.png" >&2 || true
    fi
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        if kill -0 "$pid" 2>/dev/null; then
            echo "running: $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null || true)" >&2
        else
            echo "ended: $pid" >&2
        fi
    done
    local log
    for log in "$E2E_DIR"/*.log; do
        [ -s "$log" ] || continue
        echo "--- end of $(basename "$log"):" >&2
        tail -n 30 "$log" >&2
    done
}

fail() {
    echo "FAIL: $*" >&2
    e2e_diagnose
    exit 1
}

# e2e_wait_for SECONDS COMMAND...: runs COMMAND until it succeeds; false when
# SECONDS passed first.
e2e_wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# e2e_until COMMAND...: e2e_wait_for with the longest wait.
e2e_until() {
    e2e_wait_for "$E2E_WAIT" "$@"
}

# Starts Xvfb on a display number it picks itself among the free ones
# (-displayfd), waits until it takes connections and exports DISPLAY. The
# running copies' registry (kept per user and display) goes into the test's
# own directory, so that nothing is shared with other tests or sessions.
e2e_start_x() {
    local number="$E2E_DIR/display-number"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$number" >"$E2E_DIR/xvfb.log" 2>&1 &
    E2E_PIDS+=("$!")
    e2e_until grep -q '^[0-9][0-9]*$' "$number" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$number")"
    e2e_until xdotool getdisplaygeometry || fail "Xvfb on $DISPLAY takes no connections"
    export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM
}

# Copies the binaries into the test directory: the program directory is the
# directory of the running executable.
e2e_install() {
    cp "$E2E_BIN/tovix" "$E2E_BIN/tovix-tool" "$E2E_DIR/"
}

# e2e_start_viewer LOG ARGUMENTS...: starts the viewer with its output in
# LOG.log of the test directory; sets $viewer to its process id.
e2e_start_viewer() {
    local log=$1
    shift
    "$E2E_DIR/tovix" "$@" >>"$E2E_DIR/$log.log" 2>&1 &
    viewer=$!
    E2E_PIDS+=("$viewer")
}

# The id of the visible window whose title begins with $1 (an extended
# regular expression, matched case-sensitively: xdotool ignores case, and a
# window without a title of its own is named after the program, "tovix").
e2e_window() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1" 2>/dev/null || true); do
        if [[ "$(xdotool getwindowname "$id" 2>/dev/null || true)" =~ ^$1 ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

e2e_no_window() {
    ! e2e_window "$1" >/dev/null
}

# e2e_await_window TITLE: waits until the window whose title begins with
# TITLE is shown and sets $window to its id.
e2e_await_window() {
    e2e_until e2e_window "$1" || fail "no window '$1'"
    window=$(e2e_window "$1") || fail "the window '$1' went away"
}

# e2e_await_gone TITLE: waits until no window's title begins with TITLE.
e2e_await_gone() {
    e2e_until e2e_no_window "$1" || fail "the window '$1' stayed open"
}

# e2e_title_matches WINDOW REGEX: the window's whole title matches.
e2e_title_matches() {
    [[ "$(xdotool getwindowname "$1" 2>/dev/null || true)" =~ ^$2$ ]]
}

e2e_focused_is() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# e2e_focus WINDOW: gives WINDOW the keyboard focus and waits until it has it.
# (A window just mapped may not take the focus yet; it is asked again.)
e2e_focus() {
    local deadline=$((SECONDS + E2E_WAIT))
    until e2e_focused_is "$1"; do
        [ $SECONDS -lt $deadline ] ||
            fail "the window $1 '$(xdotool getwindowname "$1" 2>/dev/null || true)' did not take the focus"
        xdotool windowfocus "$1" >/dev/null 2>&1 || true
        e2e_wait_for 2 e2e_focused_is "$1" || true
    done
}

# e2e_focus_window TITLE: waits for the window, focuses it, sets $window.
e2e_focus_window() {
    e2e_await_window "$1"
    e2e_focus "$window"
}

# e2e_send_until CONDITION KEYS...: sends KEYS to the focused window, then
# again (up to three times, with that window focused again) whenever
# CONDITION, a command line run by eval, has not come true within
# E2E_RESEND seconds; false when it never comes true. Only for keys that do
# no harm when they arrive twice.
e2e_send_until() {
    local condition=$1
    shift
    local target try limit
    target=$(xdotool getwindowfocus 2>/dev/null || true)
    for try in 1 2 3; do
        [ "$try" -eq 1 ] || e2e_focus "$target"
        xdotool key --delay 100 "$@"
        [ "$try" -eq 3 ] && limit=$E2E_WAIT || limit=$E2E_RESEND
        if e2e_wait_for "$limit" eval "$condition"; then
            return 0
        fi
        echo "$E2E_NAME: the keys '$*' had no effect yet (try $try: $condition)" >&2
    done
    return 1
}

# e2e_open TITLE KEYS...: sends KEYS to the focused window until the window
# whose title begins with TITLE shows, focuses it and sets $window.
e2e_open() {
    local title=$1
    shift
    e2e_send_until "e2e_window '$title'" "$@" || fail "the keys '$*' did not open '$title'"
    e2e_focus_window "$title"
}

e2e_visible_windows() {
    xdotool search --onlyvisible --name '' 2>/dev/null | sort || true
}

# e2e_menu_until CONDITION MENU-KEY ITEM-KEYS...: opens a menu of the
# focused window with MENU-KEY (alt+k), waits until its pop-up shows, then
# sends ITEM-KEYS; all again (up to three times) while CONDITION, run by
# eval, has not come true. An item key sent before the pop-up has the
# keyboard would reach the window below instead.
e2e_menu_until() {
    local condition=$1 menu=$2
    shift 2
    local target before try limit
    target=$(xdotool getwindowfocus 2>/dev/null || true)
    for try in 1 2 3; do
        e2e_focus "$target"
        before=$(e2e_visible_windows)
        xdotool key "$menu"
        [ "$try" -eq 3 ] && limit=$E2E_WAIT || limit=$E2E_RESEND
        if e2e_wait_for "$limit" e2e_new_window_since "$before"; then
            xdotool key --delay 150 "$@"
            if e2e_wait_for "$limit" eval "$condition"; then
                return 0
            fi
        fi
        echo "$E2E_NAME: the menu '$menu $*' had no effect yet (try $try: $condition)" >&2
        # Close whatever pop-up is still open before trying again.
        xdotool key Escape Escape Escape
        e2e_wait_for "$E2E_RESEND" e2e_no_new_window_since "$before" || true
    done
    return 1
}

# e2e_menu TITLE MENU-KEY ITEM-KEYS...: e2e_menu_until the window whose title
# begins with TITLE shows; focuses it and sets $window.
e2e_menu() {
    local title=$1
    shift
    e2e_menu_until "e2e_window '$title'" "$@" || fail "the menu '$*' did not open '$title'"
    e2e_focus_window "$title"
}

e2e_new_window_since() {
    [ -n "$(comm -13 <(echo "$1") <(e2e_visible_windows))" ]
}

e2e_no_new_window_since() {
    ! e2e_new_window_since "$1"
}

# e2e_await_exit PID: waits until the process ends and fails unless its exit
# status is 0 (the sanitizer build reports leaks and errors through it).
e2e_await_exit() {
    e2e_until eval "! kill -0 $1" || fail "the program $1 did not exit"
    local status=0
    wait "$1" || status=$?
    [ "$status" -eq 0 ] || fail "the program $1 ended with status $status"
}

# The clipboard, read as the first line of its text, blanks at its end and a
# carriage return dropped; and set, to tell a copy from what was there.
e2e_clipboard_first_line() {
    xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null | head -n 1 | tr -d '\r' |
        sed 's/ *$//' || true
}
e2e_clipboard_is() {
    [ "$(e2e_clipboard_first_line)" = "$1" ]
}
e2e_clipboard_set() {
    printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
    e2e_until e2e_clipboard_is "$1" || fail "could not set the clipboard"
}

# e2e_screenshot NAME [WINDOW]: keeps a picture of the screen (or of WINDOW)
# as an artifact; a picture that cannot be taken fails nothing.
e2e_screenshot() {
    import -window "${2:-root}" "$E2E_ARTIFACTS/$1.png" 2>/dev/null ||
        echo "$E2E_NAME: screenshot $1 not taken" >&2
}
