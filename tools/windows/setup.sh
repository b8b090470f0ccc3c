#!/usr/bin/env bash
# Installs the Debian packages the Windows build needs beyond tools/setup.sh:
# the MinGW-w64 compiler, NSIS for the installer, wixl and msitools for the
# Windows Installer package, Wine to run the tests.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  qt6-base-dev-tools nsis wixl msitools wine64 xz-utils dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "windows setup: these packages are missing and neither root nor sudo is available:" >&2
  echo "  ${missing[*]}" >&2
  exit 1
fi
echo "windows setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
