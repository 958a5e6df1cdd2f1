#!/bin/sh
# Runs a Windows GUI test program under Wine on a private X display: Xvfb on a free display,
# the openbox window manager and the trayer notification area. The Wine
# prefix's server is ended before and after, so that Wine's desktop process (which holds the
# notification area's entries) lives on this display only.
#
#   x_session.sh <wine loader> <wine prefix> <program> [arguments]
# The screen is 1280 x 1024 unless KESTO_GUI_SCREEN names another (as WIDTHxHEIGHTxDEPTH).
# Exit code 77 (skipped) when no X server or Wine can start.
loader=$1
prefix=$2
shift 2
wineserver=$(dirname "$loader")/wineserver
export WINEPREFIX="$prefix" WINEDEBUG=-all

for tool in Xvfb openbox trayer; do
  command -v $tool >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -x "$loader" ] || { echo "skipped: no Wine loader at $loader"; exit 77; }

. "$(dirname "$0")/../../../../tools/scripts/private_x_server.sh"
start_private_x_server "${KESTO_GUI_SCREEN:-1280x1024x24}" || { echo "skipped: no X server could start"; exit 77; }
xvfb=$x_server
export DISPLAY=$x_display

"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
openbox >/dev/null 2>&1 &
wm=$!
trayer --edge bottom --align right --widthtype pixel --width 64 --height 32 \
  --transparent false --tint 0xffffff >/dev/null 2>&1 &
tray=$!
sleep 0.5

"$loader" "$@"
status=$?

"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
kill $tray $wm $xvfb 2>/dev/null
wait $tray $wm $xvfb 2>/dev/null
exit $status
