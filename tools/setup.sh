#!/usr/bin/env bash
# Installs every Debian package that building, testing and the demo need.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config ccache
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev libqt6svg6 qt6-translations-l10n libqt6sql6-sqlite libqt6sql6-odbc
  unixodbc unixodbc-dev odbcinst libsqliteodbc sqlite3
  libpcsclite-dev pcscd vsmartcard-vpcd libusb-1.0-0-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libfuzzer-14-dev libclang-rt-14-dev
  fonts-noto-cjk python3-fonttools poppler-utils tzdata gdb
  xvfb xauth xdotool cups-daemon cups-client libcups2-dev
  desktop-file-utils appstream lintian dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "setup: these packages are missing and neither root nor sudo is available to install them:" >&2
  echo "  ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
