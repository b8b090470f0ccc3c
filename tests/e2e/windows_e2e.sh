#!/usr/bin/env bash
# The Windows program folder as a user gets it (the installer's files),
# under Wine and a virtual X server, driven with the keyboard. First run:
# the demo card (--reader demo, the simulated library) is read (Ctrl+R),
# saved through the save dialog, exported as CSV through the CSV dialog and
# as PDF. Second run: the simulated library put beside the program as the
# vendor's felica.dll is found by its Windows name and reads a card image;
# the same three files again. A second start hands a claim to the running
# window. Each file is compared with what the Linux
# build's fenwir-cli makes of the same card: the claim and the CSV byte for
# byte (the claim's time of making aside), the PDF as pages: its fonts, its
# words and their places, its pixels. Then the Windows
# fenwir-cli reads the project's three card images and must print exactly
# what the Linux one prints.
#
# usage: windows_e2e.sh STAGE_FOLDER WINE_RUN LINUX_BIN SOURCE_FOLDER [SCREENSHOT_FOLDER]
set -euo pipefail
stage=$(realpath "$1") wine_run=$2 linux_bin=$(realpath "$3") src=$(realpath "$4")
shots=${5:-}
work=$(mktemp -d)
fenwir_pid=
exec {trace}>"$work/trace.log"
BASH_XTRACEFD=$trace
set -x
cleanup() {
    local status=$?
    set +x
    if [ "$status" -ne 0 ]; then
        echo "windows end-to-end failed; its last steps:" >&2
        tail -n 25 "$work/trace.log" >&2
        import -window root /tmp/fenwir-windows-e2e-failed.png 2>/dev/null || true
        # What every start of the program wrote, with Wine's backtrace of
        # one that crashed.
        for log in "$work"/fenwir-*.log; do
            [ -e "$log" ] || continue
            echo "--- $(basename "$log" .log): its output" >&2
            cat "$log" >&2
        done
        # The files compared, for a look.
        rm -rf /tmp/fenwir-windows-e2e-failed
        mkdir -p /tmp/fenwir-windows-e2e-failed
        cp -r "$work/windows" "$work/linux" /tmp/fenwir-windows-e2e-failed/ 2>/dev/null || true
    fi
    if [ -n "$fenwir_pid" ]; then
        kill "$fenwir_pid" 2>/dev/null || true
        wait "$fenwir_pid" 2>/dev/null || true
    fi
    rm -rf "$work" || true
}
trap cleanup EXIT

wait_tenths=600 # Wine is slow to start a program
source "$(dirname "$0")/waiting.sh"
focus_window() {
    local id
    id=$(find_window "$1")
    timeout 30 xdotool windowfocus --sync "$id"
    echo "$id"
}
# A Unix path as the Windows program names it (Wine's Z: drive).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
wine() { "$wine_run" "$@"; }

# The user's settings start empty; one attempt at the card, no waiting.
wine reg delete 'HKCU\Software\Norkel' /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Norkel\Fenwir_Lite\Settings\Profile' /v PollingTime \
    /t REG_DWORD /d 0 /f >/dev/null
# A program that crashes prints Wine's backtrace into its output rather than
# waiting behind a crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
starts=0
# Starts fenwir.exe in the background with its own output file; its pid is
# fenwir_pid.
start_fenwir() {
    starts=$((starts + 1))
    wine "$app/fenwir.exe" "$@" >"$work/fenwir-$starts.log" 2>&1 &
    fenwir_pid=$!
}

# The program folder, with the simulated library also as the vendor's.
app=$work/app
cp -r "$stage" "$app"
cp "$app/libfenwir-felica-sim.dll" "$app/felica.dll"
out=$work/windows
mkdir -p "$out"

# One run of the desktop program: read, save, CSV, PDF, leave.
desktop_run() {
    local name=$1
    shift
    start_fenwir "$@"
    local window
    window=$(focus_window "Fenwir  Lite")
    xdotool key --clearmodifiers ctrl+r
    xdotool key --clearmodifiers ctrl+s
    focus_window "名前を付けて保存" >/dev/null
    xdotool key --clearmodifiers End shift+Home # Windows' edit boxes know no Ctrl+A
    xdotool type --delay 5 "$(windows_path "$out/$name.ent")"
    xdotool key --clearmodifiers Return
    wait_for test -s "$out/$name.ent"
    wait_closed "名前を付けて保存"
    timeout 30 xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers alt+f c
    focus_window "CSVファイル保存" >/dev/null
    xdotool key --clearmodifiers End shift+Home # Windows' edit boxes know no Ctrl+A
    xdotool type --delay 5 "$(windows_path "$out/$name.csv")"
    xdotool key --clearmodifiers Return
    wait_for test -s "$out/$name.csv"
    wait_closed "CSVファイル保存"
    timeout 30 xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers alt+f d
    focus_window "PDFとして保存" >/dev/null
    xdotool key --clearmodifiers End shift+Home # Windows' edit boxes know no Ctrl+A
    xdotool type --delay 5 "$(windows_path "$out/$name.pdf")"
    xdotool key --clearmodifiers Return
    wait_for test -s "$out/$name.pdf"
    wait_closed "PDFとして保存"
    timeout 30 xdotool windowfocus --sync "$window"
    if [ -n "$shots" ]; then
        mkdir -p "$shots"
        sleep 1 # the status bar's text settles after the last dialog
        import -window root "$shots/windows-$name.png"
    fi
    xdotool key --clearmodifiers alt+f x
    wait_for bash -c "! kill -0 $fenwir_pid"
    wait "$fenwir_pid" || { echo "fenwir.exe ended badly" >&2; exit 1; }
    fenwir_pid=
}

card=$work/card.json
cp "$src/fuzz/corpus/card_image/demo.json" "$card"
desktop_run demo --reader demo
FENWIR_CARD_IMAGE=$(windows_path "$card") desktop_run vendor --reader auto

# A second start hands its claim to the running window (the named mutex
# "Fenwir_Lite" says one runs; a named pipe carries the file) and ends; the
# running window opens it, and names it first among the recent files.
start_fenwir
window=$(focus_window "Fenwir  Lite")
timeout 60 "$wine_run" "$app/fenwir.exe" "$(windows_path "$out/vendor.ent")" >"$work/fenwir-handover.log" 2>&1 ||
    { echo "the second start did not hand over its claim" >&2; exit 1; }
kill -0 "$fenwir_pid" || { echo "the running window ended" >&2; exit 1; }
timeout 30 xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+f x
wait_for bash -c "! kill -0 $fenwir_pid"
wait "$fenwir_pid" || { echo "fenwir.exe ended badly" >&2; exit 1; }
fenwir_pid=
recent=$(wine reg query 'HKCU\Software\Norkel\Fenwir_Lite\Recent File List' /v File1 | tr -d '\r' |
    sed -n 's/^ *File1 *REG_SZ *//p')
case "$recent" in *vendor.ent) ;; *) echo "the handed claim was not opened: $recent" >&2; exit 1 ;; esac
echo "windows end-to-end: a second start hands its claim to the running window"

# What the Linux build makes of the same cards: its fenwir-cli, beside the
# same station database, layout and print fonts.
linux=$work/linux
mkdir -p "$linux/bin" "$linux/home"
cp "$linux_bin/fenwir-cli" "$linux_bin/libfenwir-felica-sim.so" "$linux/bin/"
cp "$app"/{Default.fmt,FenwirStn.mdb,demo-card.json,FenwirPrintSans-Regular.otf,FenwirPrintSans-Bold.otf} \
    "$linux/bin/"
linux_cli() {
    HOME=$linux/home XDG_CONFIG_HOME=$linux/home/.config XDG_DATA_HOME=$linux/home/.local/share \
        TZ=Asia/Tokyo "$linux/bin/fenwir-cli" "$@"
}
for run in "demo:demo" "vendor:image:$card"; do
    name=${run%%:*} reader=${run#*:}
    linux_cli read --reader "$reader" --polling-time 0 "$linux/$name.ent" >/dev/null
    linux_cli csv "$linux/$name.ent" "$linux/$name.csv"
    linux_cli print --pdf "$linux/$name.pdf" "$linux/$name.ent" >/dev/null
done

# Two claims the same but for the time each was made (bytes 60-67 of a
# version 3 claim, after its marker, kind and time tag), which must lie
# within the last hour.
same_claim() {
    python3 - "$1" "$2" <<'PY'
import struct, sys, time
a, b = (open(path, "rb").read() for path in sys.argv[1:3])
for claim in (a, b):
    made = struct.unpack_from("<q", claim, 60)[0]
    assert abs(time.time() - made) < 3600, f"claim made at {made}"
sys.exit(0 if a[:60] + a[68:] == b[:60] + b[68:] else 1)
PY
}
# Two PDFs that are the same pages: the same fonts embedded, every word at
# the same place to a millionth of a point, every page the same pixels. Their
# bytes differ where nothing shows: the creation time, and the order of the
# font objects (Qt orders them by a hash of the font file's path).
same_pdf() {
    [ "$(pdffonts "$1" | tail -n +3 | awk '{print $1, $2, $3, $4}' | sed 's/^[A-Z]*+//' | sort)" = \
      "$(pdffonts "$2" | tail -n +3 | awk '{print $1, $2, $3, $4}' | sed 's/^[A-Z]*+//' | sort)" ] &&
    cmp -s <(pdftotext -bbox "$1" - | grep -e '<page' -e '<word') \
           <(pdftotext -bbox "$2" - | grep -e '<page' -e '<word') &&
    pdftoppm -r 100 "$1" "$work/a" && pdftoppm -r 100 "$2" "$work/b" &&
    for page in "$work"/a-*.ppm; do cmp -s "$page" "$work/b-${page##*/a-}" || return 1; done &&
    [ "$(ls "$work"/a-*.ppm | wc -l)" = "$(ls "$work"/b-*.ppm | wc -l)" ] &&
    rm -f "$work"/a-*.ppm "$work"/b-*.ppm
}
for name in demo vendor; do
    same_claim "$out/$name.ent" "$linux/$name.ent" || { echo "$name.ent differs from Linux's" >&2; exit 1; }
    cmp "$out/$name.csv" "$linux/$name.csv" || { echo "$name.csv differs from Linux's" >&2; exit 1; }
    same_pdf "$out/$name.pdf" "$linux/$name.pdf" || { echo "$name.pdf differs from Linux's" >&2; exit 1; }
    grep -q 'CreationDate (D:' "$out/$name.pdf" || { echo "$name.pdf has no creation time" >&2; exit 1; }
done
echo "windows end-to-end: read (demo and felica.dll), save, CSV and PDF as on Linux"

# The command line reads the three card images exactly as on Linux.
for image in res/demo-card.json fuzz/corpus/card_image/demo.json fuzz/corpus/card_image/dump.txt; do
    name=$(basename "${image%.*}")-$(basename "$(dirname "$image")")
    wine "$app/fenwir-cli.exe" import-dump --json "$(windows_path "$src/$image")" \
        "$(windows_path "$out/$name.ent")" >"$out/$name.json" 2>>"$work/cli.log"
    linux_cli import-dump --json "$src/$image" "$linux/$name.ent" >"$linux/$name.json"
    cmp "$out/$name.json" "$linux/$name.json" || { echo "$image: the lines differ" >&2; exit 1; }
    same_claim "$out/$name.ent" "$linux/$name.ent" || { echo "$image: the claims differ" >&2; exit 1; }
done
echo "windows end-to-end: fenwir-cli.exe reads the three card images as on Linux"
