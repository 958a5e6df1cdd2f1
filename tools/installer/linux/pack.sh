#!/usr/bin/env bash
# Packs the Linux download: the programs, the vendor's reg.qmz, the installer and the sellers'
# README.txt in a folder "kesto", with the icon in the sizes the icon theme wants, the tool
# packages given (folders <key>/) in its app folder, and up.ini with the release's version and
# feed sequence (the floor the installer raises the installed up.ini to), as a tar.gz. The
# programs are stripped on the way in.
#   pack.sh PLATFORM UPDATER REGTOOL REG.QMZ VERSION FEED-SEQUENCE OUT.tar.gz [TOOL-PACKAGE...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
[ $# -ge 7 ] || {
  echo "usage: pack.sh PLATFORM UPDATER REGTOOL REG.QMZ VERSION FEED-SEQUENCE OUT.tar.gz" \
    "[TOOL-PACKAGE...]" >&2
  exit 2
}
platform=$1 updater=$2 regtool=$3 reg=$4 version=$5 sequence=$6 out=$7
shift 7

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/kesto
mkdir -p "$stage/icons"
strip -o "$stage/kesto" "$platform"
strip -o "$stage/up.qmz" "$updater"
strip -o "$stage/regtool" "$regtool"
install -m 755 "$here/install.sh" "$stage/install.sh"
install -m 644 "$here/README.txt" "$stage/README.txt"
install -m 644 "$reg" "$stage/reg.qmz"
keys=""
for package in "$@"; do
  mkdir -p "$stage/app"
  cp -R "$package" "$stage/app/"
  keys="$keys $(basename "$package")"
done
# shellcheck disable=SC2086 # one key a word
sh "$here/../floor_ini.sh" "$version" "$sequence" "$stage/up.ini" $keys
# The icon file's 32-bit images, one a size.
index=4
for size in 48 32 24 16; do
  convert "$top/assets/pictures/platform.ico[$index]" "png32:$stage/icons/kesto-$size.png"
  index=$((index + 1))
done
mkdir -p "$(dirname "$out")"
tar -C "$work" --owner=0 --group=0 -czf "$out.new" kesto
mv -f "$out.new" "$out"
