#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing. Uses sudo when not root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-serialport-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fontconfig fonts-dejavu-core fonts-liberation fonts-noto-cjk
  xvfb xauth tshark ccache
  qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools
  # The Debian package: help2man writes the manual pages, dpkg-dev computes the library dependencies; lintian,
  # desktop-file-utils and man-db check the package in its test.
  help2man dpkg-dev lintian desktop-file-utils man-db
)
if [ "${1:-}" = "--with-x11-tools" ]; then
  packages+=(x11-apps imagemagick xdotool)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
