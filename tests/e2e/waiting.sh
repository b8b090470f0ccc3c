# Waiting, as the end-to-end scripts do it; each sources this file. A wait
# gives up after wait_tenths tenths of a second (30 s unless the script set
# it before), checking every tenth.
wait_tenths=${wait_tenths:-300}

# Waits for a condition (a command) to hold.
wait_for() {
    for _ in $(seq "$wait_tenths"); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    echo "timed out waiting for: $*" >&2
    return 1
}

# The first visible window whose name matches. A window that closes while
# xdotool walks the windows makes it fail: that is retried.
find_window() {
    local id=
    for _ in $(seq "$wait_tenths"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        sleep 0.1
    done
    echo "no window named $1" >&2
    return 1
}

# Waits until no visible window's name matches: while a modal dialog is up,
# the program drops the keys meant for its main window.
wait_closed() {
    wait_for bash -c "[ -z \"\$(xdotool search --onlyvisible --name '$1' 2>/dev/null)\" ]"
}
