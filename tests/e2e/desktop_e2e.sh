#!/usr/bin/env bash
# The desktop program as a user drives it, under a virtual X server, with the
# keyboard alone. First run: read the card (Ctrl+R), untick a line, save
# through the real save dialog (Ctrl+S, a name, Enter), set the claimant
# through its dialog, print through the
# real print dialog to a CUPS queue of the test's own (Ctrl+P, Enter), save
# again and quit; then the saved claim is checked with fenwir-cli, the
# printed job and the application history. Second run: read the card, open
# the saved claim declining to save the read, tick a line with Space, Enter
# opens the edit dialog, Space after Ctrl+End acts on the last line it
# highlights (which asks, as that trip was claimed), Alt+A and Space toggle
# 全て表示 and no line, a print to a queue that refuses
# jobs is reported and records nothing, and leaving with an unsaved tick asks
# first.
#
# usage: desktop_e2e.sh BIN_FOLDER CARD_IMAGE STATION_DB
set -euo pipefail
bin=$1 card=$2 stations=$3
work=$(mktemp -d)
fenwir_pid=
cupsd_pid=
# Every step is traced to a file, shown when the run fails.
exec {trace}>"$work/trace.log"
BASH_XTRACEFD=$trace
set -x
cleanup() {
    local status=$?
    set +x
    if [ "$status" -ne 0 ]; then
        echo "desktop end-to-end failed; its last steps:" >&2
        tail -n 25 "$work/trace.log" >&2
        report_starts >&2
        import -window root "$work/failed.png" 2>/dev/null && cp "$work/failed.png" /tmp/fenwir-e2e-failed.png
    fi
    # Each process is ended and waited for, so nothing writes into the
    # folder while it is removed (cupsd saves its state as it stops).
    for pid in $fenwir_pid $cupsd_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work" || true
}
trap cleanup EXIT

# A user of our own: one attempt at the card, no dialog to wait through.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/runtime TZ=Asia/Tokyo
mkdir -p "$XDG_CONFIG_HOME/Norkel" "$XDG_RUNTIME_DIR" "$HOME/Documents"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Settings/Profile]\nPollingTime=0\n' > "$XDG_CONFIG_HOME/Norkel/Fenwir_Lite.conf"

source "$(dirname "$0")/waiting.sh"
source "$(dirname "$0")/starts.sh"

# Saves the open claim with Ctrl+S and waits until the file has changed.
save_changed() {
    local before
    before=$(md5sum < "$1")
    xdotool key --clearmodifiers ctrl+s
    wait_for bash -c "[ \"\$(md5sum < '$1')\" != '$before' ]"
}

# Ends the program with ファイル > 終了 and checks it ended well; "unsaved"
# answers いいえ to its question about the unsaved claim.
quit_fenwir() {
    xdotool key --clearmodifiers alt+f
    xdotool key --clearmodifiers x
    if [ "${1:-}" = unsaved ]; then
        focus_window "Fenwir Lite" >/dev/null
        xdotool key --clearmodifiers alt+n
    fi
    wait_for bash -c "! kill -0 $fenwir_pid"
    wait "$fenwir_pid" || { echo "fenwir ended badly" >&2; exit 1; }
    fenwir_pid=
}

# A CUPS daemon of our own whose only queue keeps each job as sent.
cups=$work/cups
mkdir -p "$cups"/{spool,tmp,cache,state,log,jobs,bin/backend,bin/filter,bin/daemon}
chmod 777 "$cups/jobs" "$cups/tmp"
ln -s /usr/lib/cups/daemon/cups-exec "$cups/bin/daemon/cups-exec"
cat > "$cups/cupsd.conf" <<CONF
Listen $cups/cups.sock
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$cups/cups-files.conf" <<CONF
ServerRoot $cups
ServerBin $cups/bin
RequestRoot $cups/spool
TempDir $cups/tmp
CacheDir $cups/cache
StateDir $cups/state
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
CONF
cat > "$cups/bin/backend/capture" <<'SH'
#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct capture "Unknown" "Capture"'; exit 0; fi
out=${DEVICE_URI#capture:}
if [ -n "$6" ]; then cat "$6"; else cat; fi > "$out/.job-$1"
mv "$out/.job-$1" "$out/job-$1.pdf"
SH
chmod 700 "$cups/bin/backend/capture"
export CUPS_SERVER=$cups/cups.sock
/usr/sbin/cupsd -f -c "$cups/cupsd.conf" -s "$cups/cups-files.conf" &
cupsd_pid=$!
wait_for test -S "$CUPS_SERVER"
wait_for lpadmin -p fenwir-test -E -v "capture:$cups/jobs" -m raw
lpadmin -d fenwir-test

start_fenwir --reader "image:$card" --station-db "$stations"
window=$(main_window)
timeout 30 xdotool windowfocus --sync "$window"

title=$(xdotool getwindowname "$window")
[ "$title" = "Fenwir  Lite - 非接触ICカード交通費精算書作成システム" ] ||
    { echo "main window title: $title" >&2; exit 1; }

xdotool key --clearmodifiers ctrl+r     # the read finishes before the next key is handled
xdotool key --clearmodifiers Down space # untick the second line
xdotool key --clearmodifiers ctrl+s
dialog=$(find_window "名前を付けて保存")
timeout 30 xdotool windowfocus --sync "$dialog"
claim=$work/claim.ent
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "$claim"
xdotool key --clearmodifiers Return
wait_for test -s "$claim"

timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+s c      # 設定 > 申請者情報...
claimant=$(find_window "^申請者情報$")
timeout 30 xdotool windowfocus --sync "$claimant"
xdotool type --delay 5 "Sales Dept"
xdotool key --clearmodifiers Tab
xdotool type --delay 5 "A-1024"
xdotool key --clearmodifiers Tab
xdotool type --delay 5 "Yamada Hanako"
xdotool key --clearmodifiers Return
wait_closed "^申請者情報$"
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+p
printer=$(find_window "^印刷$")
timeout 30 xdotool windowfocus --sync "$printer"
xdotool key --clearmodifiers Return
wait_for test -s "$cups/jobs/job-1.pdf"
wait_for test -s "$HOME/Documents/Fenwir Lite/ApplyHistory/Apply.hst"
timeout 30 xdotool windowfocus --sync "$window"
save_changed "$claim" # the printed claim, its marks cleared
timeout 30 xdotool windowfocus --sync "$window"
quit_fenwir

"$bin/fenwir-cli" show --json "$claim" > "$work/claim.json"
pages=$(pdfinfo "$cups/jobs/job-1.pdf" | sed -n 's/^Pages: *//p')
[ "$pages" = 1 ] || { echo "the printed job has $pages pages" >&2; exit 1; }
pdftotext "$cups/jobs/job-1.pdf" "$work/job-1.txt"
for text in 御茶ノ水 "Sales Dept" A-1024 "Yamada Hanako"; do
    grep -q "$text" "$work/job-1.txt" || { echo "the job lacks $text" >&2; exit 1; }
done
python3 - "$work/claim.json" <<'PY'
import json, sys
lines = json.load(open(sys.argv[1]))["lines"]
assert len(lines) == 20, f"{len(lines)} lines"
assert lines[1]["exitStationName"] == "新宿", lines[1]
assert lines[0]["entryStationName"] == "東京", lines[0]
assert all(line["applyFlag"] == 0 for line in lines), "a print clears the marks"
print("desktop end-to-end: read, untick, save, print and quit work")
PY

# Waits for a window whose name is exactly $1 and gives it the focus.
focus_window() {
    local id
    id=$(find_window "^$1\$")
    timeout 30 xdotool windowfocus --sync "$id"
    echo "$id"
}

history=$HOME/Documents/Fenwir\ Lite/ApplyHistory/Apply.hst
recorded=$(md5sum < "$history")
start_fenwir --reader "image:$card" --station-db "$stations"
window=$(main_window)
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+r
xdotool key --clearmodifiers ctrl+o
focus_window "Fenwir Lite" >/dev/null           # save the read? no
xdotool key --clearmodifiers alt+n
focus_window "開く" >/dev/null
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "$claim"
xdotool key --clearmodifiers Return
wait_closed "^開く$"
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers Down space       # the list has the focus: tick line 2
xdotool key --clearmodifiers Return           # and edit it
edit=$(focus_window "交通費編集")
[ "$(xdotool getwindowname "$edit")" = "交通費編集" ] || { echo "edit dialog title" >&2; exit 1; }
xdotool key --clearmodifiers Escape
wait_closed "^交通費編集$"
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+End space     # the highlighted last line, claimed before:
focus_window "Fenwir Lite" >/dev/null           # claim it again? no
xdotool key --clearmodifiers alt+n
wait_closed "^Fenwir Lite$"
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+a space        # 全て表示 off and on again: no line changes
xdotool key --clearmodifiers shift+Tab shift+Tab # past the card button back to the list

lpadmin -p fenwir-test -E >/dev/null            # accepting again after the first run
/usr/sbin/cupsreject fenwir-test
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+p
focus_window "印刷" >/dev/null
xdotool key --clearmodifiers Return
focus_window "Fenwir Lite" >/dev/null           # the refused job is reported
xdotool key --clearmodifiers Return
wait_closed "^Fenwir Lite$"
[ "$(md5sum < "$history")" = "$recorded" ] || { echo "a refused print was recorded" >&2; exit 1; }

timeout 30 xdotool windowfocus --sync "$window"
save_changed "$claim" # the tick, marks as they were
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+Home Down space # untick the second line again, then leave
quit_fenwir unsaved # asked about the unsaved change

"$bin/fenwir-cli" show --json "$claim" > "$work/claim.json"
python3 - "$work/claim.json" <<'PY'
import json, sys
lines = json.load(open(sys.argv[1]))["lines"]
assert len(lines) == 20, f"{len(lines)} lines"
assert lines[1]["applyFlag"] == 1, "Space ticked the second line; the refused print kept it"
assert sum(line["applyFlag"] for line in lines) == 1, "no other line changed (Ctrl+End, Alt+A, Space)"
print("desktop end-to-end: open, Space, Enter, Ctrl+End, Alt+A, a refused print and the exit question work")
PY

# Third run: a second start hands the claim to the running window; a print
# to a stopped queue is recorded and said to be held; the user then takes
# the application back in 申請履歴, which withdraws the held job and says so.
/usr/sbin/cupsaccept fenwir-test
/usr/sbin/cupsdisable -r "用紙補充のため停止中" fenwir-test
start_fenwir --reader "image:$card" --station-db "$stations"
window=$(main_window)
# A second start hands the claim to the running window and ends.
run_fenwir "$claim" || { echo "the second start did not hand over its file" >&2; exit 1; }
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+p
focus_window "印刷" >/dev/null
xdotool key --clearmodifiers Return
focus_window "Fenwir Lite" >/dev/null           # recorded, but the job is held
xdotool key --clearmodifiers Return
wait_closed "^Fenwir Lite$"
"$bin/fenwir-cli" applications --json > "$work/held.json"
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+v h            # 表示 > 申請履歴...
focus_window "申請履歴" >/dev/null
xdotool key --clearmodifiers alt+c              # 取消... the newest, asked why
focus_window "申請の取消" >/dev/null
[ -n "$(lpstat -o fenwir-test)" ] || { echo "the held job is not in the queue" >&2; exit 1; }
xdotool type --delay 5 "paper jam"
xdotool key --clearmodifiers Return
wait_for bash -c '[ -z "$(lpstat -o fenwir-test)" ]'  # the held job withdrawn
focus_window "Fenwir Lite" >/dev/null           # and the user told
xdotool key --clearmodifiers Return
wait_closed "^Fenwir Lite$"
focus_window "申請履歴" >/dev/null
xdotool key --clearmodifiers Escape
wait_closed "^申請履歴$"
timeout 30 xdotool windowfocus --sync "$window"
quit_fenwir unsaved # the marks the print cleared: not saved

"$bin/fenwir-cli" applications --json > "$work/cancelled.json"
"$bin/fenwir-cli" show --json "$claim" > "$work/claim.json"
python3 - "$work/held.json" "$work/cancelled.json" "$work/claim.json" <<'PY'
import datetime, json, sys
held = json.load(open(sys.argv[1]))["applications"]
after = json.load(open(sys.argv[2]))["applications"]
lines = json.load(open(sys.argv[3]))["lines"]
assert len(held) == 2 and held[0]["lines"] == 1 and held[0]["cancelled"] is None, held
assert len(after) == 2, after
assert after[0]["cancelled"] == datetime.date.today().isoformat(), after[0]
assert after[0]["cancelReason"] == "paper jam", after[0]
assert after[0]["id"] == "A00002" and after[1]["id"] == "A00001", after
assert after[1]["cancelled"] is None, after[1]
assert not lines[1]["applied"], "the cancelled application's trip is no longer claimed"
assert lines[2]["applied"], "the first run's application still stands"
print("desktop end-to-end: a held print is recorded and an application is taken back")
PY

# Fourth run: a station's name corrected in 駅名の訂正 (リスト編集 > 駅名を訂正...)
# names every line of its code, Ctrl+Z takes it back from the claim and from
# the user's table, Ctrl+Y brings it again, and after a restart a new read
# takes the corrected name.
corrected=$work/corrected.ent
corrections() { "$bin/fenwir-cli" stations corrections; }
has_correction() { corrections | grep -q "Tokyo Central"; }
no_correction() { [ -z "$(corrections)" ]; }
start_fenwir --reader "image:$card" --station-db "$stations"
window=$(main_window)
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+r
xdotool key --clearmodifiers Down               # the trip from 東京
xdotool key --clearmodifiers alt+e s            # リスト編集 > 駅名を訂正...
focus_window "駅名の訂正" >/dev/null
xdotool type --delay 5 "Tokyo Central"          # the entry station's name, selected
xdotool key --clearmodifiers Return
wait_closed "^駅名の訂正$"
wait_for has_correction
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+z
wait_for no_correction
xdotool key --clearmodifiers ctrl+s
focus_window "名前を付けて保存" >/dev/null
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "$corrected"
xdotool key --clearmodifiers Return
wait_for test -s "$corrected"
"$bin/fenwir-cli" show --json "$corrected" > "$work/undone.json"
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+y
wait_for has_correction
save_changed "$corrected"
timeout 30 xdotool windowfocus --sync "$window"
quit_fenwir
"$bin/fenwir-cli" show --json "$corrected" > "$work/corrected.json"

reread=$work/reread.ent
start_fenwir --reader "image:$card" --station-db "$stations"
window=$(main_window)
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+r
xdotool key --clearmodifiers ctrl+s
focus_window "名前を付けて保存" >/dev/null
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "$reread"
xdotool key --clearmodifiers Return
wait_for test -s "$reread"
timeout 30 xdotool windowfocus --sync "$window"
quit_fenwir
"$bin/fenwir-cli" show --json "$reread" > "$work/reread.json"
corrections > "$work/corrections.txt"
python3 - "$work/undone.json" "$work/corrected.json" "$work/reread.json" "$work/corrections.txt" <<'PY'
import json, sys
undone, corrected, reread = (json.load(open(p))["lines"] for p in sys.argv[1:4])
table = open(sys.argv[4], encoding="utf-8").read().splitlines()
def names(lines):
    return [n for l in lines for n in (l["entryStationName"], l["exitStationName"])]
assert names(undone).count("東京") > 2 and "Tokyo Central" not in names(undone), names(undone)
assert corrected[1]["entryStationName"] == "Tokyo Central", corrected[1]
assert "東京" not in names(corrected), "every line of the code is corrected"
assert names(corrected).count("Tokyo Central") == names(undone).count("東京")
assert names(reread) == names(corrected), "a read after the restart takes the correction"
assert corrected[1]["entryLineName"] == undone[1]["entryLineName"], "the line stays the database's"
assert len(table) == 1 and "\tTokyo Central\t" in table[0], table
print("desktop end-to-end: a corrected station name is undone, redone and kept for later reads")
PY
