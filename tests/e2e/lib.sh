# Helpers of the end-to-end tests: a private X server, the program's binaries
# in a directory of their own (so that its settings and work files stay
# there), and waiting with a deadline.
set -euo pipefail

E2E_BIN=${E2E_BIN:?}
E2E_ARTIFACTS=${E2E_ARTIFACTS:?}
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

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on a free display number and exports DISPLAY.
e2e_start_x() {
    local fifo="$E2E_DIR/display"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    local number
    read -r -t 20 number <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=":$number"
    unset QT_QPA_PLATFORM
}

# Copies the binaries into the test directory: the program directory is the
# directory of the running executable.
e2e_install() {
    cp "$E2E_BIN/tovix" "$E2E_BIN/tovix-tool" "$E2E_DIR/"
}

# e2e_wait_for SECONDS COMMAND...: runs COMMAND until it succeeds.
e2e_wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# The id of the visible window whose title begins with $1.
e2e_window() {
    xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -n 1
}
