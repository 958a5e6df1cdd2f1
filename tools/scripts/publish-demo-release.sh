#!/usr/bin/env bash
# Publishes a new release of the demo's platform and of its memo tool into the running demo's
# signed release feed (demo-run/site), signed with the demo build's vendor key:
#
#   bash tools/scripts/publish-demo-release.sh 1.1
#
# The next start of the platform fetches and checks it behind the running release; the start
# after that runs it. demo-run/kesto/up.ini lists the versions in place, and the demo's
# platform log says what the updater put in place.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
version=${1:?"usage: $0 VERSION (for instance 1.1)"}
build=$top/build-demo
site=$top/demo-run/site
[ -f "$site/feed.json" ] && [ -f "$build/demo-vendor.pem" ] ||
  { echo "publish-demo-release: run tools/scripts/run-demo.sh first" >&2; exit 1; }
python3 "$top/tools/publish/publish.py" "$site" --key "$build/demo-vendor.pem" \
  --release pt "$version" "$build/kesto" \
  --release memo "$version" "$build"/demo-packages/memo/*
echo "published $version of the platform and of memo into $site"
