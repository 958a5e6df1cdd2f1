#!/bin/sh
# Writes the up.ini a download carries: the release's version of the platform ("pt"), of the
# updater ("up") and of each tool it brings, and the sequence of the feed the release was
# published in. The updater takes
# them as what is installed and as the oldest feed it accepts; the installers raise an installed
# up.ini to them, and a folder unpacked by hand has them as they are.
#   floor_ini.sh VERSION FEED-SEQUENCE OUT [TOOL-KEY...]
set -eu
[ $# -ge 3 ] || { echo "usage: floor_ini.sh VERSION FEED-SEQUENCE OUT [TOOL-KEY...]" >&2; exit 2; }
version=$1 sequence=$2 out=$3
shift 3
{
  printf '[versions]\r\n'
  for key in pt up "$@"; do printf '%s=%s\r\n' "$key" "$version"; done
  printf '[feed]\r\nsequence=%s\r\n' "$sequence"
} >"$out"
