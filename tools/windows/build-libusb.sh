#!/usr/bin/env bash
# Builds libusb for 64-bit Windows with MinGW-w64 from Debian's own source
# package, into PREFIX (bin/libusb-1.0.dll, lib/, include/libusb-1.0/).
#
#   build-libusb.sh PREFIX
set -euo pipefail
prefix=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
# apt-get source needs the source lists; add Debian's beside the binary ones.
if [ -z "$(apt-cache showsrc libusb-1.0 2>/dev/null)" ]; then
    uris=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources)
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$uris" | "${as_root[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    "${as_root[@]}" apt-get update -q >/dev/null
fi
cd "$work"
apt-get source --download-only libusb-1.0 >/dev/null 2>&1
tar -xjf libusb-1.0_*.orig.tar.bz2
mkdir build && cd build
../libusb-1.0.*/configure --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix \
    --prefix="$prefix" --enable-shared --disable-static >/dev/null
make -j"$(nproc)" >"$work/make.log" 2>&1 || { tail -n 40 "$work/make.log"; exit 1; }
make install >/dev/null
mkdir -p "$prefix/licenses"
cp ../libusb-1.0.*/COPYING "$prefix/licenses/libusb-COPYING"
echo "windows: libusb in $prefix"
