#!/usr/bin/env bash
# The Windows stage of tools/test.sh: builds the Windows programs, installer,
# Windows Installer package and zip (tools/windows/build.sh), checks their
# sizes, runs the unit and command-line tests under Wine, the program folder
# end to end under Wine and a virtual X server, and both installers under
# Wine. Runs only where Qt for MinGW is at hand (its archive in
# ../shared/toolchains/, or unpacked in the cache folder); says so and does
# nothing otherwise. The last line counts the passed tests.
#
#   tools/windows/test.sh [--host-tools FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source tools/windows/toolchain-paths.sh
if [ ! -f "$FENWIR_QT_ARCHIVE" ] && [ ! -f "$FENWIR_QT_MINGW/.unpacked" ]; then
    echo "windows: SKIPPED: no Qt for MinGW ($FENWIR_QT_ARCHIVE, $FENWIR_QT_MINGW);" \
         "tools/windows/build.sh builds it (about an hour)"
    echo "windows: 0 passed, 0 failed"
    exit 0
fi
# The same sources compile alike in any clone: the cache is shared.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
start=$(date +%s)
tools/windows/build.sh "$@"
built=$(date +%s)

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# On a display of their own: the Wine server the tests share takes the display
# it finds when it starts, and a console made without one takes no code page.
xvfb-run -a -s "-screen 0 1366x768x24 -noreset" \
    ctest --test-dir build/windows/build -j2 --output-on-failure 2>&1 | tee "$log"
passed=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log")
[ -n "$passed" ] || { echo "windows: tests failed" >&2; exit 1; }
tested=$(date +%s)

xvfb-run -a -s "-screen 0 1366x768x24 -noreset" tests/e2e/windows_e2e.sh build/windows/stage \
    build/windows/build/wine-run.sh "$(sed -n 's/^FENWIR_HOST_TOOLS:PATH=//p' build/windows/build/CMakeCache.txt)" \
    "$root" "${FENWIR_SCREENSHOTS:-}"
version=$(sed -n 's/^project(FenwirLite VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
tests/e2e/windows_installer.sh "build/windows/FenwirLite-Setup-$version.exe" \
    build/windows/build/wine-run.sh
# The upgrade is tried with a package of the same program under a higher
# version: a.b.c.d becomes a.b.(c+1).d.
newer=$(echo "$version" | awk -F. -v OFS=. '{ $3 += 1; print }')
tools/windows/make-msi.sh build/windows/stage "$newer" build/windows/build/app/fenwir-lite.ico \
    "build/windows/build/FenwirLite-$newer-newer.msi"
tests/e2e/windows_msi.sh "build/windows/FenwirLite-$version.msi" \
    "build/windows/build/FenwirLite-$newer-newer.msi" build/windows/stage build/windows/build/wine-run.sh
# The portable zip holds the program folder under the version's name.
python3 - "build/windows/FenwirLite-$version-win64.zip" "FenwirLite-$version" <<'PY'
import sys, zipfile
names = set(zipfile.ZipFile(sys.argv[1]).namelist())
for file in ("fenwir.exe", "fenwir-cli.exe", "Qt6Core.dll", "qt.conf", "platforms/qwindows.dll"):
    assert f"{sys.argv[2]}/{file}" in names, f"the zip lacks {file}"
print("windows zip: the program folder is in it")
PY
# Downloads a third of what they were.
tools/download-sizes.sh --max-mib 15 "build/windows/FenwirLite-Setup-$version.exe" \
    "build/windows/FenwirLite-$version.msi" "build/windows/FenwirLite-$version-win64.zip"
done_at=$(date +%s)
echo "windows: build $((built - start)) s, tests under Wine $((tested - built)) s," \
     "end to end and installers $((done_at - tested)) s"
echo "windows: $((passed + 5)) passed, 0 failed"
