#!/usr/bin/env bash
# The installation as a user gets it: checks the desktop files, builds the
# Debian package from a build folder, checks its size, lints it, installs it
# with apt-get, runs the installed programs, and removes the package again.
#
# usage: tools/package-test.sh BUILD_FOLDER
set -euo pipefail
build=$1
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi

desktop-file-validate packaging/jp.norkel.FenwirLite.desktop
appstreamcli validate --no-net "$build/packaging/share/jp.norkel.FenwirLite.metainfo.xml"

rm -f "$build"/fenwir-lite_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/fenwir-lite_*_amd64.deb)
tools/download-sizes.sh --max-mib 15 "$deb"
# Errors fail; the warnings left are explained in the project's notes.
lintian --fail-on error "$deb"
# Qt's Japanese texts are loaded at run time, so no library pulls them in.
dpkg-deb -f "$deb" Depends | grep -q qt6-translations-l10n ||
    { echo "the package does not depend on Qt's translations" >&2; exit 1; }

work=$(mktemp -d)
cleanup() {
    "${as_root[@]}" apt-get remove -y -q fenwir-lite >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$(realpath "$deb")" >/dev/null
version=$(/usr/bin/fenwir-cli --version)
[ "$version" = "fenwir-cli $(sed -n 's/^project(FenwirLite VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
    { echo "installed version: $version" >&2; exit 1; }
HOME=$work /usr/bin/fenwir-cli demo --out "$work/demo" > "$work/demo.txt"
for name in 東京 新宿 御茶ノ水 池袋 横浜; do
    grep -q "$name" "$work/demo.txt" || { echo "the installed demo lacks $name" >&2; exit 1; }
done
[ -L /usr/bin/fenwir ] && [ -x /usr/lib/fenwir-lite/fenwir ] || { echo "fenwir is not installed" >&2; exit 1; }
grep -q "application/x-fenwir-claim" /usr/share/applications/jp.norkel.FenwirLite.desktop
echo "package: built, linted, installed, run and removed"
