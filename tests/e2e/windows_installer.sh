#!/usr/bin/env bash
# The Windows installer under Wine: installed silently for the current
# user, then for all users; each time the program folder, the Start menu
# entry and the .ent association with the program's icon are there, the
# installed fenwir-cli.exe runs, and the silent uninstaller takes the
# program away but leaves the user's claims and history in Documents.
#
# usage: windows_installer.sh SETUP_EXE WINE_RUN
set -euo pipefail
setup=$(realpath "$1") wine_run=$2
wine() { "$wine_run" "$@"; }
prefix=$(sed -n 's/^export WINEPREFIX="${FENWIR_WINEPREFIX:-\(.*\)}"$/\1/p' "$wine_run")
user_dir=$prefix/drive_c/users/$(id -un)
wait_tenths=600 # Wine is slow to start a program
source "$(dirname "$0")/waiting.sh"
value() { wine reg query "$1" /ve 2>/dev/null | sed -n 's/^ *(Default) *REG_SZ *//p' | tr -d '\r'; }

# The user's own claim and history, which no uninstaller may take; in the
# prefix's own Documents, never in a home folder it links to.
[ -d "$user_dir/Documents" ] && [ ! -L "$user_dir/Documents" ] ||
    { echo "the Wine prefix's Documents is not a folder of its own" >&2; exit 1; }
kept="$user_dir/Documents/Fenwir Lite"
mkdir -p "$kept/ApplyHistory"
echo claim >"$kept/mine.ent"
echo history >"$kept/ApplyHistory/Apply.hst"

for mode in CurrentUser AllUsers; do
    wine "$setup" /S "/$mode"
    if [ "$mode" = CurrentUser ]; then
        root=HKCU folder="$user_dir/AppData/Local/Programs/Fenwir Lite"
        menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
    else
        root=HKLM folder="$prefix/drive_c/Program Files/Fenwir Lite"
        menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    fi
    for file in fenwir.exe fenwir-cli.exe uninstall.exe Qt6Core.dll platforms/qwindows.dll \
                FenwirStn.mdb Default.fmt translations/qtbase_ja.qm; do
        [ -f "$folder/$file" ] || { echo "$mode: $file is not installed" >&2; exit 1; }
    done
    [ -f "$menu/Fenwir Lite.lnk" ] || { echo "$mode: no Start menu entry" >&2; exit 1; }
    [ "$(value "$root\\Software\\Classes\\.ent")" = FenwirLite.Claim ] ||
        { echo "$mode: .ent is not the program's" >&2; exit 1; }
    command=$(value "$root\\Software\\Classes\\FenwirLite.Claim\\shell\\open\\command")
    icon=$(value "$root\\Software\\Classes\\FenwirLite.Claim\\DefaultIcon")
    case "$command" in *'\fenwir.exe" "%1"') ;; *) echo "$mode: open command $command" >&2; exit 1 ;; esac
    case "$icon" in *'\fenwir.exe",0') ;; *) echo "$mode: icon $icon" >&2; exit 1 ;; esac
    version=$(wine "$folder/fenwir-cli.exe" --version | tr -d '\r')
    [[ "$version" == "fenwir-cli "* ]] || { echo "$mode: installed fenwir-cli: $version" >&2; exit 1; }

    wine "$folder/uninstall.exe" /S "/$mode"
    wait_for bash -c "[ ! -e '$folder/fenwir.exe' ] && [ ! -e '$menu/Fenwir Lite.lnk' ]"
    [ -z "$(value "$root\\Software\\Classes\\.ent")" ] || { echo "$mode: .ent still associated" >&2; exit 1; }
    [ "$(cat "$kept/mine.ent")" = claim ] && [ "$(cat "$kept/ApplyHistory/Apply.hst")" = history ] ||
        { echo "$mode: the uninstaller took the user's files" >&2; exit 1; }
    echo "windows installer: /S /$mode installs, associates .ent, and uninstalls keeping the claims"
done
rm -rf "$kept"
