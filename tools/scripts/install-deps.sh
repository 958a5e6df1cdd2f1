#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the platform need, the
# Windows cross compilers, Wine and the installer maker included, and Wine's 32-bit half where
# it can run, so that the tests run the shipped 32-bit build.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  cmake g++ make ninja-build ccache pkg-config libgtest-dev
  libgtk-3-dev libwebkit2gtk-4.1-dev libcurl4-openssl-dev libjpeg-dev libgdk-pixbuf-2.0-dev
  libx11-dev libxcb1-dev libssl-dev nlohmann-json3-dev
  clang-14 libclang-rt-14-dev
  python3 python3-gi curl locales
  xvfb openbox xdotool trayer x11-utils imagemagick fonts-noto-cjk dbus-daemon desktop-file-utils
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 googletest
  nsis zip unzip osslsigncode
)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

installed wine32:i386 && exit 0
# The smallest 32-bit x86 Linux program (it exits with 0): Wine's 32-bit loader is one, and a
# kernel without IA-32 emulation refuses every such program.
runs_32bit_code() {
  local probe status=0
  probe=$(mktemp)
  local elf='\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0'
  elf+='\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10'
  elf+='\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\273\0\0\0\0\315\200'
  printf "$elf" >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return $status
}
fallback="the Windows tests run as x86_64 instead of the shipped 32-bit build"
if ! runs_32bit_code; then
  echo "wine32:i386 not installed: this kernel runs no 32-bit programs (IA-32 emulation off);" \
    "$fallback."
  exit 0
fi

# apt can keep a release file newer than the index files a mirror in the middle of a sync still
# serves ("File has unexpected size ... Mirror sync in progress?"): the sources that failed to
# fetch lose their cached release file once, so that the next update takes release file and
# indexes from the same moment.
apt_log=$(mktemp)
trap 'rm -f "$apt_log"' EXIT
# An update that leaves one index behind may still let the install find matching versions.
install_wine32() {
  $sudo apt-get update -qq >"$apt_log" 2>&1 || true
  $sudo apt-get install -y -qq --no-install-recommends wine32:i386 >>"$apt_log" 2>&1
}
echo "Installing: wine32:i386"
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
install_wine32 && exit 0
sed -n 's#.*Failed to fetch [a-z+]*://\([^ ]*/dists/[^/ ]*\)/.*#\1#p' "$apt_log" | sort -u |
  while read -r source; do
    $sudo rm -f "/var/lib/apt/lists/${source//\//_}_InRelease"
  done
install_wine32 && exit 0
reason=$(grep -E '^(E|W):' "$apt_log" | head -n 1 || true)
echo "wine32:i386 could not be installed (${reason:-apt failed}); $fallback."
