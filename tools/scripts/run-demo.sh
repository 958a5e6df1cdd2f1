#!/usr/bin/env bash
# Runs the platform as a seller would have it, against the demo site on 127.0.0.1:
#   1. installs what is missing and builds the platform with its web site and update server
#      pointing at the demo site (build folder build-demo), and with a vendor key of the demo's
#      own, made once in the build folder (a private key never enters the tree);
#   2. lays out a program folder (demo-run/kesto): the platform, up.qmz, a reg.qmz made with
#      regtool and an app folder with two tools; a third tool waits in the catalogue;
#   3. publishes version 1.0 of the platform, the updater and every tool into the demo site's
#      signed release feed, starts the demo site and then the platform without "-qmz", so that it
#      hands over to the updater, which starts it again with "-qmz".
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
say() { printf 'run-demo: %s\n' "$*"; }
fail() { printf 'run-demo: %s\n' "$*" >&2; exit 1; }

case "$work" in
  */app*) fail "$work: the program folder's path must not contain /app (set KESTO_DEMO_DIR)" ;;
esac

# ---- 1. packages and build ----
bash "$top/tools/scripts/install-deps.sh"
say "building in $build (web site and update server: 127.0.0.1:$port)"
build_type=()
[ -f "$build/CMakeCache.txt" ] || build_type=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
mkdir -p "$build"
vendor=$build/demo-vendor.pem
[ -f "$vendor" ] || openssl ecparam -genkey -name prime256v1 -noout -out "$vendor" 2>/dev/null
vendor_key=$(openssl ec -in "$vendor" -pubout -outform DER 2>/dev/null | od -An -v -tx1 | tr -d ' \n')
cmake -S "$top" -B "$build" "${build_type[@]}" \
  -DKESTO_WEB_HOST="127.0.0.1:$port" -DKESTO_PAY_SITE="http://127.0.0.1:$port/pay/" \
  -DKESTO_UPDATE_HOST=127.0.0.1 -DKESTO_UPDATE_PORT="$port" -DKESTO_VENDOR_KEY="$vendor_key" \
  >/dev/null
cmake --build "$build" -j "$(nproc)" --target kesto kesto_updater regtool demo_packages

# ---- 2. the program folder ----
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  fail "port $port is taken: stop what listens there, or set KESTO_DEMO_PORT"
fi
if [ -d "$work" ]; then
  [ -f "$work/.kesto-demo" ] || fail "$work exists and was not made by this script"
  rm -rf "$work"
fi
mkdir -p "$logs"
touch "$work/.kesto-demo"
python3 "$top/tools/demo-tools/lay_out_folder.py" --out "$folder" --port "$port" \
  --platform "$build/kesto" --updater "$build/tools/updater/up.qmz" \
  --regtool "$build/tools/regtool/regtool" --packages "$build/demo-packages" \
  --tools memo,profit >/dev/null
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

# ---- 3. the signed release feed and the demo site ----
site=$work/site
releases=(--release pt 1.0 "$build/kesto" --release up 1.0 "$build/tools/updater/up.qmz")
for package in "$build"/demo-packages/*/; do
  key=$(basename "$package")
  releases+=(--release "$key" 1.0 "$package"*)
done
python3 "$top/tools/publish/publish.py" "$site" --key "$vendor" "${releases[@]}" >/dev/null
openssl dgst -sha256 -sign "$vendor" "$build/tools/updater/up.qmz" | od -An -v -tx1 |
  tr -d ' \n' >"$site/up.qmz.sig"
say "published 1.0 of everything into the signed release feed in $site"
python3 "$top/tools/demo-site/server.py" --port "$port" --packages "$build/demo-packages" \
  --updater "$build/tools/updater/up.qmz" --feed "$site" --updater-signature "$site/up.qmz.sig" \
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
