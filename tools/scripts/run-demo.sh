#!/usr/bin/env bash
# Runs the platform as a seller would have it, against the demo site on 127.0.0.1:
#   1. installs what is missing and makes the Linux download as a vendor's release is made
#      (tools/release/make-release.sh --linux-only, build folder build-demo/linux-release) from
#      the demo's release configuration: every host at the demo site, a throw-away vendor key
#      and code-signing certificate, made once in build-demo/release-config (no private key
#      enters the tree); its feed (version 1.0 of the platform and the updater) is published
#      into the demo site's folder (demo-run/site/linux);
#   2. unpacks the download as the program folder (demo-run/kesto: the platform, up.qmz, the
#      vendor's reg.qmz and up.ini, and the two tools the demo's release brings in its app
#      folder); a third tool waits in the catalogue;
#   3. publishes version 1.0 of every tool into the feed, starts the demo site and then the
#      platform without "-qmz", so that it hands over to the updater, which starts it again with
#      "-qmz".
# Without a display it starts an X server of its own (Xvfb with openbox and trayer), saves a
# screenshot of the running platform, prints where, and stops. With a display it runs until
# the platform is left through its tray icon (or Ctrl-C).
#
# Environment: KESTO_DEMO_PORT (8080), KESTO_DEMO_BUILD (build-demo), KESTO_DEMO_DIR (demo-run).
set -euo pipefail

top=$(cd "$(dirname "$0")/../.." && pwd)
port=${KESTO_DEMO_PORT:-8080}
build=${KESTO_DEMO_BUILD:-$top/build-demo}
work=${KESTO_DEMO_DIR:-$top/demo-run}
folder=$work/kesto
logs=$work/logs
config=$build/release-config
say() { printf 'run-demo: %s\n' "$*"; }
fail() { printf 'run-demo: %s\n' "$*" >&2; exit 1; }

case "$work" in
  */app*) fail "$work: the program folder's path must not contain /app (set KESTO_DEMO_DIR)" ;;
esac
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  fail "port $port is taken: stop what listens there, or set KESTO_DEMO_PORT"
fi
if [ -d "$work" ]; then
  [ -f "$work/.kesto-demo" ] || fail "$work exists and was not made by this script"
  rm -rf "$work"
fi
mkdir -p "$logs"
touch "$work/.kesto-demo"

# ---- 1. packages, the demo's release configuration and the Linux download ----
bash "$top/tools/scripts/install-deps.sh"
export KESTO_DEPS_CHECKED=1
grep -qx "UPDATE_PORT=$port" "$config/release.conf" 2>/dev/null &&
  grep -qx "FEED_FOLDER=$work/site" "$config/release.conf" ||
  bash "$top/tools/release/demo-config.sh" "$config" --port "$port" --feed "$work/site" >/dev/null
say "making the Linux download in $build/release (web site and update server: 127.0.0.1:$port)"
bash "$top/tools/release/make-release.sh" "$config/release.conf" "$build/release" \
  --builds "$build" --linux-only --no-check >"$logs/release.log" ||
  fail "the release could not be made; see $logs/release.log"
packages=$build/linux-release/demo-packages

# ---- 2. the program folder: the download, with the demo's two tools in its app folder ----
tar -C "$work" -xzf "$build/release/kesto-linux-x86_64.tar.gz"
say "program folder: $folder"

# ---- processes started here, all stopped on the way out ----
started=()
# Programs of the folder (the platform, the updater, the tools) and what they started.
folder_pids() {
  local p exe
  for p in /proc/[0-9]*; do
    exe=$(readlink "$p/exe" 2>/dev/null) || continue
    case "$exe" in "$folder"/*) echo "${p#/proc/}" ;; esac
  done
}
stop_all() {
  local pids
  pids=$(folder_pids)
  [ -n "$pids" ] && kill $pids 2>/dev/null || true
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    kill "${started[i]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# ---- 3. the tools in the signed release feed, and the demo site ----
site=$work/site/linux
vendor=$config/vendor.pem
releases=()
for package in "$packages"/*/; do
  releases+=(--release "$(basename "$package")" 1.0 "$package"*)
done
python3 "$top/tools/publish/publish.py" "$site" --key "$vendor" "${releases[@]}" >/dev/null
say "published 1.0 of every tool into the signed feed in $site, beside the platform and the updater"
python3 "$top/tools/demo-site/server.py" --port "$port" --packages "$packages" --feed "$site" \
  --log "$logs/site-requests.log" >"$logs/site.log" 2>&1 &
started+=($!)
for _ in $(seq 50); do
  grep -q "serving on" "$logs/site.log" && break
  kill -0 "${started[-1]}" 2>/dev/null || fail "the demo site did not start: $(cat "$logs/site.log")"
  sleep 0.1
done
say "demo site: http://127.0.0.1:$port/"

# ---- a display ----
own_display=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  # shellcheck source=private_x_server.sh
  . "$top/tools/scripts/private_x_server.sh"
  start_private_x_server 1280x1024x24 "$logs/xvfb.log" ||
    fail "no display, and no X server of its own could be started"
  started+=("$x_server")
  own_display=$x_display
  export DISPLAY=$own_display
  openbox --sm-disable >"$logs/openbox.log" 2>&1 &
  started+=($!)
  sleep 1
  trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
    --transparent false >"$logs/trayer.log" 2>&1 &
  started+=($!)
  sleep 1
  say "no display found: started Xvfb on $DISPLAY with openbox and trayer"
fi
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY

# ---- 4. the platform, started as a user starts it ----
(cd "$folder" && exec ./kesto) >>"$logs/platform.log" 2>&1 &
say "started the platform; it hands over to up.qmz, which starts it again with -qmz"
window=""
for _ in $(seq 600); do
  handle=$(sed -n 's/^pt=\([0-9]*\).*/\1/p' "$folder/qmztx.ini" 2>/dev/null | tr -d '\r' | head -1 || true)
  if [ -n "$handle" ] && xwininfo -id "$handle" 2>/dev/null | grep -q IsViewable; then
    window=$handle
    break
  fi
  sleep 0.1
done
[ -n "$window" ] || fail "the platform's window did not come up; see $logs/platform.log"
say "the platform is running (window $window, recorded under \"pt\" in $folder/qmztx.ini)"

if [ -n "$own_display" ]; then
  sleep 6  # the web panels load their pages and pictures
  shot=$work/screenshot.png
  import -window root "$shot"
  say "there was no display to show it on, so here is a screenshot: $shot"
  exit 0
fi

say "leave the platform through its tray icon (right click, 退出Kesto应用平台), or press Ctrl-C"
say "to see an update arrive: bash tools/scripts/publish-demo-release.sh 1.1, then leave the"
say "platform and start it twice with $folder/kesto (the first start fetches 1.1, the second runs it)"
# The demo site stays up while the platform is started again by hand.
while [ -n "$(folder_pids)" ]; do sleep 1; done
say "the platform has ended; the demo site runs on until Ctrl-C (start $folder/kesto again)"
wait "${started[0]}"
