#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test vorlin.
# Idempotent: packages already present are skipped, so a second run does nothing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-svg-dev qt6-l10n-tools
  libgl-dev libqt6opengl6-dev
  libjsoncpp-dev libudev-dev libcurl4-openssl-dev libpulse-dev libevdev-dev libasound2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 openssl
  clang libclang-rt-14-dev
  xvfb xauth dbus
  dpkg-dev lintian desktop-file-utils appstream
  fonts-noto-cjk fonts-thai-tlwg
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
