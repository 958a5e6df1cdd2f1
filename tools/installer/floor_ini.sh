#!/bin/sh
# Writes the up.ini a download carries: the release's version of the platform ("pt") and of the
# updater ("up"), and the sequence of the feed the release was published in. The updater takes
# them as what is installed and as the oldest feed it accepts; the installers raise an installed
# up.ini to them, and a folder unpacked by hand has them as they are.
#   floor_ini.sh VERSION FEED-SEQUENCE OUT
set -eu
[ $# -eq 3 ] || { echo "usage: floor_ini.sh VERSION FEED-SEQUENCE OUT" >&2; exit 2; }
printf '[versions]\r\npt=%s\r\nup=%s\r\n[feed]\r\nsequence=%s\r\n' "$1" "$1" "$2" >"$3"
