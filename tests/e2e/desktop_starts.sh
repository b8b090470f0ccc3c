#!/usr/bin/env bash
# Starts the desktop program many times on one virtual X server while short
# X clients come and go beside it, as the end-to-end runs' window searches
# do; every start must show its window and end well. An X server that resets
# when its last client leaves drops a program that connects meanwhile, and
# the program then ends without a window: the X server of these runs must
# not reset. A start that goes wrong is told with its output and backtrace.
#
# usage: desktop_starts.sh BIN_FOLDER STARTS
set -euo pipefail
bin=$(realpath "$1") count=$2
work=$(mktemp -d)
fenwir_pid=
poller=
cleanup() {
    local status=$?
    if [ -n "$poller" ]; then
        kill "$poller" 2>/dev/null || true
        wait "$poller" 2>/dev/null || true
    fi
    if [ "$status" -ne 0 ]; then report_starts >&2; fi
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/runtime FENWIR_QUIT_WHEN_SHOWN=1
mkdir -p "$XDG_RUNTIME_DIR" "$HOME/Documents"
chmod 700 "$XDG_RUNTIME_DIR"
source "$(dirname "$0")/waiting.sh"
source "$(dirname "$0")/starts.sh"

# X clients that connect, look and leave, without a pause.
(while true; do xdotool search --onlyvisible --name "Fenwir  Lite" >/dev/null 2>&1 || true; done) &
poller=$!

for i in $(seq "$count"); do
    start_fenwir --reader demo
    if ! wait "$fenwir_pid"; then
        echo "start $i of $count ended badly" >&2
        exit 1
    fi
    rm -rf "$work/start-$i" # kept only for a start that went wrong
done
echo "desktop starts: $count of $count showed their window and ended well"
