#!/usr/bin/env bash
# Makes the Windows Installer package of a staged program folder with wixl
# (packaging/windows/installer.wxs): every file of the folder, the Start
# menu entry, the .ent association; per machine, upgraded in place by a
# newer package.
#
#   tools/windows/make-msi.sh STAGE_FOLDER VERSION ICON OUTPUT.msi
#
# VERSION is the package's (a.b.c.d; Windows Installer compares the first
# three numbers). The tests make a newer package of the same folder by
# giving a higher one.
set -euo pipefail
stage=$(realpath "$1") version=$2 icon=$(realpath "$3") out=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# wixl takes sources relative to where it runs.
ln -s "$stage" "$work/stage"
cp "$icon" "$work/fenwir.ico"
cd "$work"

# One component a file; 64-bit, as the folder they go to.
(cd stage && find . -type f | sed 's|^\./|stage/|' | LC_ALL=C sort) |
    wixl-heat -p stage/ --directory-ref INSTALLDIR --component-group ProgramFolder \
        --var var.Stage |
    sed 's/Guid="\*"/Guid="*" Win64="yes"/' >files.wxs

# wixl and msibuild write the package's texts in the code page of the
# Windows language they are told (Japanese: 932); the database is then marked
# as being in that code page, so that every Windows shows them alike, and the
# summary names Japanese as the package's language.
export WINDOWS_LANGUAGE=ja_JP
wixl -a x64 -D Version="$version" -D Stage=stage -D Icon=fenwir.ico \
    -o package.msi "$root/packaging/windows/installer.wxs" files.wxs
printf '\r\n\r\n932\t_ForceCodepage\r\n' >_ForceCodepage.idt
msibuild package.msi -i _ForceCodepage.idt
package_code=$(msiinfo suminfo package.msi | sed -n 's/^Revision number (UUID): //p')
msibuild package.msi -s "Fenwir Lite $version" Norkel "x64;1041" "$package_code"
# Its cabinet, compressed again with each block referring back to the one
# before, is a tenth smaller.
msiinfo extract package.msi fenwir.cab >wixl.cab
/usr/bin/python3 "$root/tools/windows/recompress-cab.py" wixl.cab fenwir.cab
msibuild package.msi -a fenwir.cab fenwir.cab
cd - >/dev/null
mv "$work/package.msi" "$out"
