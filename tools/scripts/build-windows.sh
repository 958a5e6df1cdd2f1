#!/usr/bin/env bash
# Makes what users download, from a fresh clone: the 32-bit programs in dist/kesto-windows.zip
# (kesto.exe, up.qmz, regtool.exe and the sellers' README.txt, in a folder "Kesto") and the
# installer dist/kesto-setup.exe. Checks what it made and exits non-zero on any fault.
#   tools/scripts/build-windows.sh [BUILD-FOLDER]   (default build-win32-release)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
. tools/scripts/build_tools.sh

# The test command has checked the packages already.
[ -n "${KESTO_DEPS_CHECKED:-}" ] || bash tools/scripts/install-deps.sh

build=${1:-build-win32-release}
jobs=${KESTO_JOBS:-2}
dist=$top/dist
stage=$dist/Kesto

echo "== build $build (i686, release)"
configure_build . "$build" -DCMAKE_BUILD_TYPE=Release -DKESTO_TOOLKIT=win32 \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
# The platform first: without it there is nothing to ship, and the message says so.
cmake --build "$build" -j "$jobs" --target kesto ||
  fail "kesto.exe could not be built in $build (see the compiler's messages above)"
[ -f "$build/kesto.exe" ] || fail "kesto.exe is missing from $build: this build makes no platform program"
cmake --build "$build" -j "$jobs" --target kesto_updater regtool

# Each program must be a 32-bit Windows program; the platform and the updater run without a
# console window, regtool is a command-line tool.
check_program() {
  local file=$1 subsystem=$2
  [ -f "$file" ] || fail "$file was not built"
  local headers
  headers=$(i686-w64-mingw32-objdump -p "$file") || fail "$file is not a Windows program"
  grep -q "file format pei-i386" <<<"$headers" || fail "$file is not a 32-bit Windows program"
  grep -Eq "^Subsystem[[:space:]]+0000000$subsystem" <<<"$headers" ||
    fail "$file has the wrong subsystem (wanted $subsystem)"
}
check_program "$build/kesto.exe" 2
check_program "$build/tools/updater/up.qmz" 2
check_program "$build/tools/regtool/regtool.exe" 3

echo "== dist"
rm -rf "$stage" "$dist/kesto-windows.zip" "$dist/kesto-setup.exe"
mkdir -p "$stage"
i686-w64-mingw32-strip -o "$stage/kesto.exe" "$build/kesto.exe"
i686-w64-mingw32-strip -o "$stage/up.qmz" "$build/tools/updater/up.qmz"
i686-w64-mingw32-strip -o "$stage/regtool.exe" "$build/tools/regtool/regtool.exe"
# Notepad on every Windows version reads UTF-8 with a byte-order mark and CR LF line ends.
{
  printf '\xef\xbb\xbf'
  sed 's/$/\r/' tools/installer/README.txt
} >"$stage/README.txt"

(cd "$dist" && zip -q -r -X kesto-windows.zip Kesto)
version=$(sed -n 's/^KESTO_VERSION:STRING=//p' "$build/CMakeCache.txt")
makensis -V2 -WX -DSOURCE="$stage" -DOUTFILE="$dist/kesto-setup.exe" -DVERSION="$version" \
  tools/installer/kesto.nsi

# What users get must hold what they need.
listing=$(unzip -Z1 "$dist/kesto-windows.zip")
for name in kesto.exe up.qmz regtool.exe README.txt; do
  grep -qx "Kesto/$name" <<<"$listing" || fail "kesto-windows.zip lacks Kesto/$name"
done
check_program "$dist/kesto-setup.exe" 2
echo "made $dist/kesto-windows.zip and $dist/kesto-setup.exe"
