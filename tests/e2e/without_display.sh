#!/usr/bin/env bash
# The desktop program started where no display can be reached (an X display
# that does not answer, or none named) says why and ends with status 1; it
# is not killed by a signal and dumps no core.
#
# usage: without_display.sh BIN_FOLDER
set -euo pipefail
bin=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
cd "$work"
for display in ":4999" ""; do
    status=0
    DISPLAY=$display "$bin/fenwir" --reader demo >"$work/out.log" 2>&1 || status=$?
    if [ "$status" -ne 1 ] || ! grep -q "画面を開けないため起動できません" "$work/out.log"; then
        echo "DISPLAY='$display': status $status, output:" >&2
        cat "$work/out.log" >&2
        exit 1
    fi
done
echo "without a display: said so and ended with status 1"
