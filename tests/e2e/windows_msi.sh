#!/usr/bin/env bash
# The Windows Installer package under Wine's msiexec, as an IT department
# deploys it: installed silently per machine (program folder, Start menu
# entry, .ent association with the program's icon, name, version and
# publisher among the installed programs), holding the program folder byte
# for byte, and the installed program runs;
# a newer package of the same program replaces it in place, leaving one
# program of the newer version; the older package is then refused; msiexec
# /x removes the program and none of the user's files (claims, application
# history, station-name corrections, settings); INSTALLDIR chooses the
# folder.
#
# usage: windows_msi.sh PACKAGE.msi NEWER_PACKAGE.msi STAGE_FOLDER WINE_RUN
set -euo pipefail
package=$(realpath "$1") newer=$(realpath "$2") stage=$(realpath "$3") wine_run=$4
wine() { "$wine_run" "$@"; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
prefix=$(sed -n 's/^export WINEPREFIX="${FENWIR_WINEPREFIX:-\(.*\)}"$/\1/p' "$wine_run")
user_dir=$prefix/drive_c/users/$(id -un)
folder="$prefix/drive_c/Program Files/Fenwir Lite"
version_of() { msiinfo export "$1" Property | sed -n 's/^ProductVersion\t//p' | tr -d '\r'; }
value() { wine reg query "$1" /ve 2>/dev/null | sed -n 's/^ *(Default) *REG_SZ *//p' | tr -d '\r'; }
fail() { echo "windows msi: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "version publisher" of each installed program named Fenwir Lite.
installed() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | awk '
            /^HKEY/ { if (name == "Fenwir Lite") print version, publisher; name = version = publisher = "" }
            $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); name = $0 }
            $1 == "DisplayVersion" { version = $3 }
            $1 == "Publisher" { publisher = $3 }
            END { if (name == "Fenwir Lite") print version, publisher }'
}
# Wine puts a per-machine package's shortcuts in the installing user's menu
# (its msi does not yet follow ALLUSERS there); Windows in all users'.
start_menu_entry() {
    for menu in "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
                "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"; do
        [ -f "$menu/Fenwir Lite.lnk" ] && return 0
    done
    return 1
}
# The program installed in $1 (a Windows path), opening claims with its icon.
check_installed() {
    local unix=$1 windows=$2
    for file in fenwir.exe fenwir-cli.exe Qt6Core.dll platforms/qwindows.dll FenwirStn.mdb \
                Default.fmt FenwirPrintSans-Regular.otf translations/qtbase_ja.qm; do
        [ -f "$unix/$file" ] || fail "$file is not installed in $windows"
    done
    start_menu_entry || fail "no Start menu entry"
    [ "$(value 'HKLM\Software\Classes\.ent')" = FenwirLite.Claim ] || fail ".ent is not the program's"
    [ "$(value 'HKLM\Software\Classes\FenwirLite.Claim\shell\open\command')" = \
      "\"$windows\\fenwir.exe\" \"%1\"" ] || fail "claims do not open with $windows\\fenwir.exe"
    [ "$(value 'HKLM\Software\Classes\FenwirLite.Claim\DefaultIcon')" = \
      "\"$windows\\fenwir.exe\",0" ] || fail "claims do not show the program's icon"
}

# What belongs to the user, which no uninstall may take.
kept="$user_dir/Documents/Fenwir Lite"
data="$user_dir/AppData/Roaming/Norkel/Fenwir Lite"
mkdir -p "$kept/ApplyHistory" "$data"
echo claim >"$kept/mine.ent"
echo history >"$kept/ApplyHistory/Apply.hst"
printf '{\n    "bus": [],\n    "rail": [\n        {"area": 0, "line": 37, "name": "四ツ谷", "station": 12}\n    ],\n    "version": 1\n}\n' \
    >"$data/StationCorrections.json"
cp "$data/StationCorrections.json" "$work/corrections.json"
wine reg add 'HKCU\Software\Norkel\Fenwir_Lite\Settings\Profile' /v PostName /d Sales /f >/dev/null
user_files_kept() {
    [ "$(cat "$kept/mine.ent")" = claim ] && [ "$(cat "$kept/ApplyHistory/Apply.hst")" = history ] &&
        cmp -s "$data/StationCorrections.json" "$work/corrections.json" &&
        wine reg query 'HKCU\Software\Norkel\Fenwir_Lite\Settings\Profile' /v PostName >/dev/null 2>&1
}

old=$(version_of "$package") new=$(version_of "$newer")
wine msiexec /i "$(windows_path "$package")" /qn || fail "msiexec /i /qn failed"
check_installed "$folder" 'C:\Program Files\Fenwir Lite'
diff -r "$stage" "$folder" >/dev/null || fail "the installed files are not the program folder's"
[ "$(installed)" = "$old Norkel" ] || fail "installed programs: $(installed)"
[ "$(wine "$folder/fenwir-cli.exe" --version | tr -d '\r')" = "fenwir-cli $old" ] ||
    fail "the installed fenwir-cli does not run"
wine "$folder/fenwir-cli.exe" demo --out "$(windows_path "$work/demo")" >/dev/null
[ -s "$work/demo/demo-claim.pdf" ] || fail "the installed program made no claim PDF"
echo "windows msi: msiexec /i /qn installs $old per machine, associates .ent, and runs"

wine msiexec /i "$(windows_path "$newer")" /qn || fail "the newer package failed to install"
check_installed "$folder" 'C:\Program Files\Fenwir Lite'
[ "$(installed)" = "$new Norkel" ] || fail "after the upgrade: $(installed)"
echo "windows msi: $new replaces $old in place"

if wine msiexec /i "$(windows_path "$package")" /qn; then fail "the older package installed"; fi
[ "$(installed)" = "$new Norkel" ] || fail "after the refused downgrade: $(installed)"
msiinfo export "$package" LaunchCondition | grep -q "新しいバージョンの Fenwir Lite がすでにインストールされています。" ||
    fail "the package does not say why it refuses a downgrade"
echo "windows msi: $old is refused over $new"

wine msiexec /x "$(windows_path "$newer")" /qn || fail "msiexec /x /qn failed"
[ ! -e "$folder/fenwir.exe" ] && ! start_menu_entry && [ -z "$(installed)" ] ||
    fail "msiexec /x left the program"
[ -z "$(value 'HKLM\Software\Classes\.ent')" ] || fail ".ent is still associated"
user_files_kept || fail "msiexec /x took the user's files"
echo "windows msi: msiexec /x /qn removes the program and keeps the user's files"

wine msiexec /i "$(windows_path "$newer")" /qn 'INSTALLDIR=C:\Apps\Fenwir Lite' ||
    fail "msiexec /i INSTALLDIR= failed"
check_installed "$prefix/drive_c/Apps/Fenwir Lite" 'C:\Apps\Fenwir Lite'
wine msiexec /x "$(windows_path "$newer")" /qn || fail "msiexec /x failed"
[ ! -e "$prefix/drive_c/Apps/Fenwir Lite/fenwir.exe" ] || fail "msiexec /x left C:\\Apps\\Fenwir Lite"
echo "windows msi: INSTALLDIR chooses the program folder"

rm -rf "$kept" "$data"
rmdir "$prefix/drive_c/Apps" 2>/dev/null || true
wine reg delete 'HKCU\Software\Norkel\Fenwir_Lite\Settings\Profile' /v PostName /f >/dev/null 2>&1
