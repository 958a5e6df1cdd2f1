# Sourced by the scripts that need an X display of their own (sh and bash alike).
#
# start_private_x_server SCREEN [LOG] starts Xvfb with the screen SCREEN (1280x1024x24) on a free
# display that the server picks itself and names once it takes connections (-displayfd): a
# number looked for beforehand could be taken by another test's server in the meantime, and both
# would then drive one screen. Sets x_server (its process) and x_display (":N"); returns 1, with
# both empty, when no server is up within 10 s.
start_private_x_server() {
  x_server=""
  x_display=""
  _x_numbers=$(mktemp) || return 1
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$_x_numbers" >"${2:-/dev/null}" 2>&1 &
  _x_server=$!
  _x_tries=0
  while [ "$(wc -l <"$_x_numbers")" -lt 1 ] && [ "$_x_tries" -lt 100 ] &&
    kill -0 "$_x_server" 2>/dev/null; do
    sleep 0.1
    _x_tries=$((_x_tries + 1))
  done
  _x_number=$(tr -d ' \n' <"$_x_numbers")
  rm -f "$_x_numbers"
  case $_x_number in
  '' | *[!0-9]*)
    kill "$_x_server" 2>/dev/null
    wait "$_x_server" 2>/dev/null
    return 1
    ;;
  esac
  x_server=$_x_server
  x_display=":$_x_number"
}
