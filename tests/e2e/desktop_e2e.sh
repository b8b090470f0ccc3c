#!/usr/bin/env bash
# The desktop program as a user drives it, under a virtual X server: read the
# card (Ctrl+R), untick a line, save through the real save dialog (Ctrl+S, a
# name, Enter), quit; then the saved claim is checked with fenwir-cli.
#
# usage: desktop_e2e.sh BIN_FOLDER CARD_IMAGE STATION_DB
set -euo pipefail
bin=$1 card=$2 stations=$3
work=$(mktemp -d)
fenwir_pid=
cleanup() {
    [ -n "$fenwir_pid" ] && kill "$fenwir_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A user of our own: one attempt at the card, no dialog to wait through.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/runtime TZ=Asia/Tokyo
mkdir -p "$XDG_CONFIG_HOME/Norkel" "$XDG_RUNTIME_DIR" "$HOME/Documents"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Settings/Profile]\nPollingTime=0\n' > "$XDG_CONFIG_HOME/Norkel/Fenwir_Lite.conf"

# Waits up to 30 s for a condition (a command), checking every tenth of a second.
wait_for() {
    for _ in $(seq 300); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    echo "timed out waiting for: $*" >&2
    return 1
}

"$bin/fenwir" --reader "image:$card" --station-db "$stations" >"$work/fenwir.log" 2>&1 &
fenwir_pid=$!
window=$(xdotool search --sync --name "Fenwir  Lite" | head -n 1)
xdotool windowfocus --sync "$window"

xdotool key --clearmodifiers ctrl+r     # the read finishes before the next key is handled
xdotool key --clearmodifiers Down space # untick the second line
xdotool key --clearmodifiers ctrl+s
dialog=$(xdotool search --sync --name "名前を付けて保存" | head -n 1)
xdotool windowfocus --sync "$dialog"
claim=$work/claim.ent
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "$claim"
xdotool key --clearmodifiers Return
wait_for test -s "$claim"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+f
xdotool key --clearmodifiers x
wait_for bash -c "! kill -0 $fenwir_pid"
wait "$fenwir_pid" || { echo "fenwir ended badly" >&2; cat "$work/fenwir.log" >&2; exit 1; }
fenwir_pid=

"$bin/fenwir-cli" show --json "$claim" > "$work/claim.json"
python3 - "$work/claim.json" <<'PY'
import json, sys
lines = json.load(open(sys.argv[1]))["lines"]
assert len(lines) == 20, f"{len(lines)} lines"
assert lines[1]["exitStationName"] == "新宿", lines[1]
assert lines[1]["applyFlag"] == 0, "the unticked line keeps its mark off"
assert lines[2]["applyFlag"] == 1, lines[2]
assert lines[0]["entryStationName"] == "東京", lines[0]
print("desktop end-to-end: read, untick, save and quit work")
PY
