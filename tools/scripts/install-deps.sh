#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the platform need, the
# Windows cross compilers, Wine and the installer maker included.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  cmake g++ make ninja-build ccache pkg-config libgtest-dev
  libgtk-3-dev libwebkit2gtk-4.1-dev libcurl4-openssl-dev libjpeg-dev libgdk-pixbuf-2.0-dev
  libx11-dev libssl-dev nlohmann-json3-dev
  clang-14 libclang-rt-14-dev
  python3 python3-gi curl
  xvfb openbox xdotool trayer x11-utils imagemagick fonts-noto-cjk dbus-daemon desktop-file-utils
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 googletest
  nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
