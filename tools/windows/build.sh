#!/usr/bin/env bash
# Builds Fenwir Lite for 64-bit Windows on Debian 12: the programs, the
# simulated vendor library and the tests, cross-compiled with MinGW-w64
# against Qt 6.4.2 for MinGW; the program folder staged in
# build/windows/stage/; the installer build/windows/FenwirLite-Setup-<version>.exe,
# the Windows Installer package build/windows/FenwirLite-<version>.msi for
# IT departments, and the portable build/windows/FenwirLite-<version>-win64.zip;
# and prints their sizes.
#
#   tools/windows/build.sh [--host-tools FOLDER] [--no-tests]
#
# Qt comes from ../shared/toolchains/qt6.4.2-mingw.tar.xz (or FENWIR_QT_ARCHIVE),
# unpacked once into the cache folder; without the archive,
# tools/windows/build-qt-mingw.sh builds it there (about an hour). libusb is
# built once from Debian's source into the same cache. The programs that run
# during the build (icon renderer, layout writer, station importer) come from
# a host build: build/windows/host, or the folder --host-tools names.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
host_tools=
tests=ON
while [ $# -gt 0 ]; do
    case "$1" in
        --host-tools) host_tools=$(realpath "$2"); shift 2 ;;
        --no-tests) tests=OFF; shift ;;
        *) echo "usage: tools/windows/build.sh [--host-tools FOLDER] [--no-tests]" >&2; exit 2 ;;
    esac
done

tools/setup.sh
tools/windows/setup.sh
source tools/windows/toolchain-paths.sh
out=build/windows
mkdir -p "$out"
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER-$(command -v ccache || true)}
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER-$(command -v ccache || true)}

# Qt for MinGW: the archive unpacked into the cache, or built there.
if [ ! -f "$FENWIR_QT_MINGW/.unpacked" ]; then
    rm -rf "$FENWIR_QT_MINGW"
    if [ -f "$FENWIR_QT_ARCHIVE" ]; then
        echo "windows: unpacking $FENWIR_QT_ARCHIVE into $FENWIR_QT_MINGW"
        mkdir -p "$FENWIR_QT_MINGW"
        tar -xJf "$FENWIR_QT_ARCHIVE" -C "$FENWIR_QT_MINGW"
    else
        echo "windows: no Qt archive ($FENWIR_QT_ARCHIVE); building Qt for MinGW (about an hour)"
        tools/windows/build-qt-mingw.sh "$FENWIR_QT_MINGW"
    fi
    touch "$FENWIR_QT_MINGW/.unpacked"
fi

# libusb for Windows, from Debian's source.
if [ ! -f "$FENWIR_WINDOWS_DEPS/licenses/libusb-COPYING" ]; then
    tools/windows/build-libusb.sh "$FENWIR_WINDOWS_DEPS"
fi

# The host programs the cross build runs.
if [ -z "$host_tools" ]; then
    cmake -S . -B "$out/host" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFENWIR_TESTS=OFF \
        -DFENWIR_BENCH=OFF >/dev/null
    cmake --build "$out/host" --target fenwir-render-icons fenwir-make-layout fenwir-cli \
        fenwir-felica-sim print_fonts
    host_tools=$root/$out/host/bin
fi

cmake -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/toolchain.cmake" \
    -DFENWIR_QT_MINGW="$FENWIR_QT_MINGW" -DFENWIR_WINDOWS_DEPS="$FENWIR_WINDOWS_DEPS" \
    -DFENWIR_HOST_TOOLS="$host_tools" -DFENWIR_TESTS=$tests -DFENWIR_BENCH=OFF >/dev/null
cmake --build "$out/build"

tools/windows/stage.sh "$out/build" "$out/stage"
version=$(sed -n 's/^project(FenwirLite VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
makensis -V2 -DVERSION="$version" -DSTAGE="$root/$out/stage" -DICON="$root/$out/build/app/fenwir-lite.ico" \
    -DOUTFILE="$root/$out/FenwirLite-Setup-$version.exe" packaging/windows/installer.nsi
tools/windows/make-msi.sh "$out/stage" "$version" "$out/build/app/fenwir-lite.ico" \
    "$out/FenwirLite-$version.msi"
# The zip unpacks into a folder named after the version.
rm -rf "$out/FenwirLite-$version" "$out/FenwirLite-$version-win64.zip"
mv "$out/stage" "$out/FenwirLite-$version"
(cd "$out" && cmake -E tar cf "FenwirLite-$version-win64.zip" --format=zip "FenwirLite-$version")
mv "$out/FenwirLite-$version" "$out/stage"
echo "windows: $out/FenwirLite-Setup-$version.exe, $out/FenwirLite-$version.msi and" \
     "$out/FenwirLite-$version-win64.zip"
tools/download-sizes.sh "$out/FenwirLite-Setup-$version.exe" "$out/FenwirLite-$version.msi" \
    "$out/FenwirLite-$version-win64.zip"
