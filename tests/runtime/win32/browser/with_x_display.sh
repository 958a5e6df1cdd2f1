#!/bin/sh
# Runs a test command with a private Xvfb display (:220 to :239, the first one free), because
# Wine makes its windows on X. Without Xvfb the command runs without a display and the tests
# that need windows skip and say so. Listing the tests needs no display.
case "$*" in
*--gtest_list_tests*) exec "$@" ;;
esac

server=""
for number in $(seq 220 239); do
  # A lock whose server has gone is stale; Xvfb takes such a number over.
  owner=$(tr -d " \n" 2>/dev/null <"/tmp/.X$number-lock")
  [ -n "$owner" ] && kill -0 "$owner" 2>/dev/null && continue
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  candidate=$!
  # Ready when the lock file names our server; another one may have taken the number first.
  tries=0
  while [ $tries -lt 50 ] && kill -0 "$candidate" 2>/dev/null; do
    if [ "$(tr -d " \n" 2>/dev/null <"/tmp/.X$number-lock")" = "$candidate" ] &&
      [ -S "/tmp/.X11-unix/X$number" ]; then
      server=$candidate
      break
    fi
    tries=$((tries + 1))
    sleep 0.1
  done
  [ -n "$server" ] && break
  kill "$candidate" 2>/dev/null
  wait "$candidate" 2>/dev/null
done

if [ -n "$server" ]; then
  DISPLAY=":$number"
  export DISPLAY
else
  echo "with_x_display: no Xvfb display could be started in :220-:239" >&2
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
