#!/usr/bin/env bash
# Lays out the Windows program folder from a cross build, as windeployqt
# would: the programs and what they find beside them (station database,
# print layout, print fonts, demo card, simulated reader library, sound
# module), every DLL they load from Qt, libusb and the MinGW runtime, the
# Qt plugins they load, Qt's Japanese texts, and the licences; stripped.
#
#   tools/windows/stage.sh BUILD_FOLDER STAGE_FOLDER
set -euo pipefail
build=$(realpath "$1")
stage=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/windows/toolchain-paths.sh"
objdump=x86_64-w64-mingw32-objdump
strip=x86_64-w64-mingw32-strip
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
dll_folders=("$FENWIR_QT_MINGW/bin" "$FENWIR_WINDOWS_DEPS/bin" "$runtime"
             /usr/x86_64-w64-mingw32/lib)

rm -rf "$stage"
mkdir -p "$stage"
bin=$build/bin
for file in fenwir.exe fenwir-cli.exe fenwir-sound.dll libfenwir-felica-sim.dll Default.fmt \
            FenwirStn.mdb demo-card.json manual.html FenwirPrintSans-Regular.otf \
            FenwirPrintSans-Bold.otf; do
    [ -f "$bin/$file" ] || { echo "stage: $bin/$file is missing" >&2; exit 1; }
    cp "$bin/$file" "$stage/"
done
# Qt's plugins the programs load: the window system (fenwir-cli draws
# offscreen), the desktop's own style (AppLook 32798), the station
# database's drivers. Icons are PNG, which Qt reads without a plugin.
for plugin in platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll \
              sqldrivers/qsqlite.dll sqldrivers/qsqlodbc.dll; do
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$FENWIR_QT_MINGW/plugins/$plugin" "$stage/$plugin"
done

# Every DLL a staged program or plugin imports that is not the system's,
# and what those import in turn.
find_dll() {
    for folder in "${dll_folders[@]}"; do
        local found
        found=$(find "$folder" -maxdepth 1 -iname "$1" -print -quit 2>/dev/null)
        if [ -n "$found" ]; then echo "$found"; return 0; fi
    done
    return 0
}
queue=$(find "$stage" -iname '*.exe' -o -iname '*.dll')
while [ -n "$queue" ]; do
    next=
    for pe in $queue; do
        for name in $($objdump -p "$pe" | sed -n 's/^\s*DLL Name: //p'); do
            [ -e "$stage/$name" ] && continue
            source_dll=$(find_dll "$name")
            [ -n "$source_dll" ] || continue
            cp "$source_dll" "$stage/$name"
            next="$next $stage/$name"
        done
    done
    queue=$next
done
find "$stage" \( -iname '*.exe' -o -iname '*.dll' \) -exec "$strip" --strip-unneeded {} +

# Qt finds its plugins and texts beside the program.
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' >"$stage/qt.conf"
mkdir -p "$stage/translations"
cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"

mkdir -p "$stage/licenses/Qt"
cp "$root/LICENSE" "$root/NOTICE" "$stage/licenses/"
cp -r "$FENWIR_QT_MINGW/LICENSES/." "$stage/licenses/Qt/"
cp "$FENWIR_WINDOWS_DEPS/licenses/libusb-COPYING" "$stage/licenses/"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/mingw-w64-gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64-runtime.txt"
echo "windows: program folder in $stage"
