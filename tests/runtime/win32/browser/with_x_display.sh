#!/bin/sh
# Runs a test command with a private Xvfb display (a free one), because
# Wine makes its windows on X. Without Xvfb the command runs without a display and the tests
# that need windows skip and say so. Listing the tests needs no display.
case "$*" in
*--gtest_list_tests*) exec "$@" ;;
esac

. "$(dirname "$0")/../../../../tools/scripts/private_x_server.sh"
server=""
if start_private_x_server 1024x768x24; then
  server=$x_server
  DISPLAY=$x_display
  export DISPLAY
else
  echo "with_x_display: no Xvfb display could be started" >&2
  unset DISPLAY
fi
# In the background, so that a stop (CTest's timeout) ends the display with the test.
"$@" &
child=$!
stop() {
  [ -n "$child" ] && kill "$child" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
}
trap 'stop; exit 143' TERM INT HUP
wait "$child"
status=$?
child=""
stop
[ -n "$server" ] && wait "$server" 2>/dev/null
exit $status
