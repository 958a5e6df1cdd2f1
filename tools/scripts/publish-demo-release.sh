#!/usr/bin/env bash
# Publishes a new release of the demo's platform, updater and the tools its downloads bring
# (memo and profit), made as a vendor's release is (tools/release/make-release.sh, Linux only,
# with the demo's configuration), into the running demo's signed release feed
# (demo-run/site/linux):
#
#   bash tools/scripts/publish-demo-release.sh 1.1
#
# The release is not started before it is published: the running demo's site holds its port.
# The next start of the platform fetches and checks it behind the running release; the start
# after that runs it. demo-run/kesto/up.ini lists the versions in place, and the demo's
# platform log says what the updater put in place.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
version=${1:?"usage: $0 VERSION (for instance 1.1)"}
build=${KESTO_DEMO_BUILD:-$top/build-demo}
config=$build/release-config
[ -f "${KESTO_DEMO_DIR:-$top/demo-run}/site/linux/feed.json" ] && [ -f "$config/release.conf" ] ||
  { echo "publish-demo-release: run tools/scripts/run-demo.sh first" >&2; exit 1; }
KESTO_DEPS_CHECKED=1 bash "$top/tools/release/make-release.sh" "$config/release.conf" \
  "$build/release-$version" --builds "$build" --linux-only --no-check VERSION="$version"
