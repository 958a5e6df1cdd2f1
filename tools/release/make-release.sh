#!/usr/bin/env bash
# Makes a vendor's release from a clean tree, in one command:
#   make-release.sh CONFIG OUT [--builds DIR] [--linux-only] [--no-check] [KEY=VALUE...]
#   make-release.sh CONFIG OUT --verify      reads a release made before back against CONFIG
#
# From the release configuration CONFIG (release.conf.example describes it; KEY=VALUE arguments
# replace its values) it makes, in OUT:
#   kesto-windows.zip, kesto-setup.exe   the 32-bit Windows programs and their installer, every
#                                        program file and the installer (its uninstaller too)
#                                        Authenticode-signed
#   kesto-linux-x86_64.tar.gz           the Linux programs and their installer
#   feed/windows/, feed/linux/          the update sites with the signed feed of this release
#   marks.txt                            which key, version and signer each shipped file carries
# Every download holds the vendor's reg.qmz (made by regtool) and an up.ini with the release's
# version and feed sequence; every program is built with the vendor's keys, the hosts, the
# version and that sequence (one more than the feed in FEED_FOLDER has). The files are read back
# and compared with the configuration, the Linux download is installed into a fresh home and
# started (the Windows one under Wine, where 32-bit programs run), and only when all of that
# holds is the feed copied into FEED_FOLDER: otherwise it exits non-zero and publishes nothing.
#   --builds DIR    build folders DIR/win32 and DIR/linux-release (default build-release)
#   --linux-only    the Linux download and feed alone
#   --no-check      leaves out the start of the downloads (for a demo whose site holds the port)
#   --verify        builds and publishes nothing: compares the files of the downloads in OUT
#                   with CONFIG, and exits non-zero when one differs
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tools/scripts/build_tools.sh"
. "$top/tools/release/release_config.sh"

usage() {
  echo "usage: make-release.sh CONFIG OUT [--builds DIR] [--linux-only] [--no-check]" \
    "[--verify] [KEY=VALUE...]" >&2
  exit 2
}
[ $# -ge 2 ] || usage
config=$1 out=$2
shift 2
builds=$top/build-release windows=yes check=yes verify="" overrides=()
while [ $# -gt 0 ]; do
  case $1 in
  --builds) builds=${2:?}; shift 2 ;;
  --linux-only) windows=""; shift ;;
  --no-check) check=""; shift ;;
  --verify) verify=yes; shift ;;
  *=*) overrides+=("$1"); shift ;;
  *) usage ;;
  esac
done
read_release_config "$config" "${overrides[@]}"
[ -n "${KESTO_DEPS_CHECKED:-}" ] || bash "$top/tools/scripts/install-deps.sh"
jobs=${KESTO_JOBS:-$(nproc)}
say() { printf '== %s\n' "$*"; }
tarball_name=kesto-linux-x86_64.tar.gz

# ---- the build of each system ----

# configure_release FOLDER SYSTEM UPDATE-HOST UPDATE-PORT [CMAKE ARGUMENTS...]
configure_release() {
  local folder=$1 system=$2 host=$3 port=$4
  shift 4
  configure_build "$top" "$folder" -DCMAKE_BUILD_TYPE=Release -DKESTO_VERSION="$conf_VERSION" \
    -DKESTO_FEED_SEQUENCE="${sequence[$system]}" -DKESTO_VENDOR_KEY="$conf_vendor_hex" \
    -DKESTO_UPDATE_HOST="$host" -DKESTO_UPDATE_PORT="$port" -DKESTO_WEB_HOST="$conf_WEB_HOST" \
    -DKESTO_PAY_SITE="$conf_PAY_SITE" "$@"
}

# tool_packages SYSTEM BUILD-FOLDER: the package folders of the tools the release brings, in
# `packages`.
tool_packages() {
  local system=$1 build=$2 from key
  packages=()
  [ ${#conf_tools[@]} -gt 0 ] || return 0
  from=$conf_TOOLS_FOLDER/$system
  if [ "$conf_TOOLS_FOLDER" = demo ]; then
    nice -n 10 cmake --build "$build" -j "$jobs" --target demo_packages >/dev/null
    from=$build/demo-packages
  fi
  for key in "${conf_tools[@]}"; do
    [ -f "$from/$key/$key.qmz" ] || fail "no package of the tool $key in $from"
    packages+=("$from/$key")
  done
}

make_linux_download() {
  linux=$builds/linux-release
  say "Linux build $linux (x86_64, release $conf_VERSION, feed ${sequence[linux]})"
  configure_release "$linux" linux "$conf_LINUX_UPDATE_HOST" "$conf_LINUX_UPDATE_PORT" \
    -DKESTO_TOOLKIT=gtk
  nice -n 10 cmake --build "$linux" -j "$jobs" --target kesto kesto_updater regtool

  say "reg.qmz"
  "$linux/tools/regtool/regtool" write "$reg" "$conf_SHOP_QQ" "$conf_SHOP_NAME" "$conf_SHOP_WEB" \
    "$conf_PURCHASE_PAGE" "$conf_AD_PAGE" "$conf_SPARE_FIELD"
  "$linux/tools/regtool/regtool" read "$reg"

  say "Linux download"
  tool_packages linux "$linux"
  bash "$top/tools/installer/linux/pack.sh" "$linux/kesto" "$linux/updater/up.qmz" \
    "$linux/tools/regtool/regtool" "$reg" "$conf_VERSION" "${sequence[linux]}" \
    "$out/$tarball_name" "${packages[@]}"
}

sign_args=(-certs "$conf_SIGN_CERT" -key "$conf_SIGN_KEY" -h sha256 -n Kesto)
[ -z "$conf_TIMESTAMP_URL" ] || sign_args+=(-ts "$conf_TIMESTAMP_URL")
# sign FILE: Authenticode-signs a Windows program file in place.
sign() {
  osslsigncode sign "${sign_args[@]}" -in "$1" -out "$1.signed" >/dev/null ||
    fail "osslsigncode could not sign $1"
  mv -f "$1.signed" "$1"
}

make_windows_download() {
  local win32=$builds/win32 stage=$work/stage/Kesto signer=$work/sign-in-place.sh package key
  local tools_include=$work/tools.nsh
  say "Windows build $win32 (i686, release $conf_VERSION, feed ${sequence[windows]})"
  configure_release "$win32" windows "$conf_UPDATE_HOST" "$conf_UPDATE_PORT" \
    -DKESTO_TOOLKIT=win32 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake"
  nice -n 10 cmake --build "$win32" -j "$jobs" --target kesto kesto_updater regtool

  say "Windows download"
  mkdir -p "$stage"
  i686-w64-mingw32-strip -o "$stage/kesto.exe" "$win32/kesto.exe"
  i686-w64-mingw32-strip -o "$stage/up.qmz" "$win32/updater/up.qmz"
  i686-w64-mingw32-strip -o "$stage/regtool.exe" "$win32/tools/regtool/regtool.exe"
  for program in kesto.exe up.qmz regtool.exe; do sign "$stage/$program"; done
  tool_packages windows "$win32"
  : >"$tools_include"
  for package in "${packages[@]}"; do
    key=$(basename "$package")
    mkdir -p "$stage/app"
    cp -R "$package" "$stage/app/"
    sign "$stage/app/$key/$key.qmz"
    echo "!insertmacro INSTALL_TOOL \"$key\"" >>"$tools_include"
  done
  cp "$reg" "$stage/reg.qmz"
  sh "$top/tools/installer/floor_ini.sh" "$conf_VERSION" "${sequence[windows]}" "$stage/up.ini" \
    "${conf_tools[@]}"
  # Notepad on every Windows version reads UTF-8 with a byte-order mark and CR LF line ends.
  {
    printf '\xef\xbb\xbf'
    sed 's/$/\r/' "$top/tools/installer/README.txt"
  } >"$stage/README.txt"
  (cd "$(dirname "$stage")" && zip -q -r -X "$out/kesto-windows.zip" Kesto)
  # The uninstaller is written into the installer: makensis has it signed in place.
  printf '#!/bin/sh\nosslsigncode sign %s-in "$1" -out "$1.signed" >/dev/null && mv -f "$1.signed" "$1"\n' \
    "$(printf '%q ' "${sign_args[@]}")" >"$signer"
  chmod +x "$signer"
  makensis -V2 -WX -DSOURCE="$stage" -DOUTFILE="$out/kesto-setup.exe" -DVERSION="$conf_VERSION" \
    -DFEED_SEQUENCE="${sequence[windows]}" -DSIGN_UNINSTALLER="$signer" \
    -DTOOLS_INCLUDE="$tools_include" \
    "$top/tools/installer/kesto.nsi"
  sign "$out/kesto-setup.exe"
}

# ---- what ships, as a seller unpacks it ----

# Unpacks the downloads into $work/shipped and lists their program files in `shipped`.
unpack_downloads() {
  rm -rf "$work/shipped"
  mkdir -p "$work/shipped"
  tar -C "$work/shipped" -xzf "$out/$tarball_name"
  shipped=("$work/shipped/kesto/kesto" "$work/shipped/kesto/up.qmz" "$work/shipped/kesto/regtool")
  [ -z "$windows" ] && return
  unzip -q "$out/kesto-windows.zip" -d "$work/shipped"
  shipped+=("$work/shipped/Kesto/kesto.exe" "$work/shipped/Kesto/up.qmz"
    "$work/shipped/Kesto/regtool.exe" "$out/kesto-setup.exe")
  local key
  for key in "${conf_tools[@]}"; do shipped+=("$work/shipped/Kesto/app/$key/$key.qmz"); done
  local file
  for file in "${shipped[@]}"; do [ -f "$file" ] || fail "the downloads lack $(basename "$file")"; done
}

# Stages each system's feed in $out/feed/<system>: the update site's as it is, with this release.
stage_feeds() {
  local system site files platform key tools
  for system in "${systems[@]}"; do
    site=$out/feed/$system
    mkdir -p "$site"
    [ ! -d "$conf_FEED_FOLDER/$system" ] || cp -R "$conf_FEED_FOLDER/$system/." "$site/"
    files=$work/shipped/kesto platform=kesto
    [ "$system" = linux ] || files=$work/shipped/Kesto platform=kesto.exe
    tools=()
    for key in "${conf_tools[@]}"; do tools+=(--release "$key" "$conf_VERSION" "$files/app/$key"/*); done
    say "feed $site (sequence ${sequence[$system]})"
    python3 "$top/tools/publish/publish.py" "$site" --key "${conf_vendor_pems[0]}" \
      --sequence "${sequence[$system]}" --expires-days "$conf_FEED_EXPIRES_DAYS" \
      --release pt "$conf_VERSION" "$files/$platform" --release up "$conf_VERSION" "$files/up.qmz" \
      "${tools[@]}"
  done
}

# ---- the checks ----

check_marks() {
  say "what each shipped file carries"
  local timestamped=()
  [ -z "$conf_TIMESTAMP_URL" ] || timestamped=(--timestamped)
  python3 "$top/tools/release/release_marks.py" --version "$conf_VERSION" \
    --keys "$conf_vendor_hex" --web "$conf_WEB_HOST" --pay "$conf_PAY_SITE" \
    --update-windows "$conf_UPDATE_HOST:$conf_UPDATE_PORT" --sequence-windows "${sequence[windows]:-}" \
    --update-linux "$conf_LINUX_UPDATE_HOST:$conf_LINUX_UPDATE_PORT" \
    --sequence-linux "${sequence[linux]}" --cert "$conf_SIGN_CERT" --ca "$conf_SIGN_CA" \
    "${timestamped[@]}" "${shipped[@]}" | tee "$out/marks.txt"
  [ "${PIPESTATUS[0]}" -eq 0 ] || fail "a shipped file differs from $config: nothing published"
}

check_starts() {
  say "the downloads installed and started"
  python3 "$top/tools/release/check_release.py" --tarball "$out/$tarball_name" \
    ${windows:+--installer "$out/kesto-setup.exe"} --feed "$out/feed" \
    --update-host "$conf_LINUX_UPDATE_HOST" --update-port "$conf_LINUX_UPDATE_PORT" \
    --windows-update-host "$conf_UPDATE_HOST" --windows-update-port "$conf_UPDATE_PORT" \
    --ca "$conf_SIGN_CA" \
    --reg "$reg" --version "$conf_VERSION" ${conf_TOOLS:+--tools "$conf_TOOLS"} \
    --artifacts "$work/check" ||
    fail "the downloads did not start as a seller's would: nothing published (see $work/check)"
}

# Copies the staged feeds to the update sites: the files first, the feed and its signature last.
publish() {
  local system site
  for system in "${systems[@]}"; do
    site=$conf_FEED_FOLDER/$system
    mkdir -p "$site"
    cp -R "$out/feed/$system/feed" "$site/"
    cp "$out/feed/$system/feed.json" "$site/.feed.json.new"
    mv -f "$site/.feed.json.new" "$site/feed.json"
    cp "$out/feed/$system/feed.json.sig" "$site/.feed.json.sig.new"
    mv -f "$site/.feed.json.sig.new" "$site/feed.json.sig"
    say "published $conf_VERSION into $site (sequence ${sequence[$system]})"
  done
}

# ---- the release ----

mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$out/.work
reg=$work/reg.qmz
systems=(linux)
declare -A sequence

if [ -n "$verify" ]; then
  [ -f "$out/$tarball_name" ] || fail "$out holds no release"
  [ -f "$out/kesto-windows.zip" ] || windows=""
  [ -z "$windows" ] || systems+=(windows)
  for system in "${systems[@]}"; do
    sequence[$system]=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["sequence"])' \
      "$out/feed/$system/feed.json") || fail "$out holds no feed for $system"
  done
  unpack_downloads
  check_marks
  exit 0
fi

[ -z "$(ls -A "$out")" ] || [ -f "$out/.kesto-release" ] ||
  fail "$out is not empty and was not made by make-release.sh"
find "$out" -mindepth 1 -delete
touch "$out/.kesto-release"
mkdir -p "$work" "$builds"
builds=$(cd "$builds" && pwd)
[ -z "$windows" ] || systems+=(windows)
# Each system's feed continues the one its update site has.
for system in "${systems[@]}"; do
  sequence[$system]=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["sequence"] + 1)' \
    "$conf_FEED_FOLDER/$system/feed.json" 2>/dev/null || echo 1)
done

make_linux_download
[ -z "$windows" ] || make_windows_download
unpack_downloads
stage_feeds
check_marks
[ -z "$check" ] || check_starts
publish
echo "made $out"
