#!/usr/bin/env bash
# Makes what Linux users download, from a fresh clone: dist/kesto-linux-x86_64.tar.gz, the
# optimised programs (kesto, up.qmz, regtool), the per-user installer and the sellers'
# README.txt in a folder "kesto". Checks what it made and exits non-zero on any fault.
#   tools/scripts/build-linux.sh [BUILD-FOLDER]   (default build-linux-release)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
. tools/scripts/build_tools.sh

[ -n "${KESTO_DEPS_CHECKED:-}" ] || bash tools/scripts/install-deps.sh

build=${1:-build-linux-release}
jobs=${KESTO_JOBS:-2}
tarball=$top/dist/kesto-linux-x86_64.tar.gz

echo "== build $build (x86_64, release)"
configure_build . "$build" -DCMAKE_BUILD_TYPE=Release -DKESTO_TOOLKIT=gtk
cmake --build "$build" -j "$jobs" --target kesto kesto_updater regtool
for program in kesto tools/updater/up.qmz tools/regtool/regtool; do
  readelf -h "$build/$program" 2>/dev/null | grep -q "Machine:.*X86-64" ||
    fail "$build/$program is not an x86_64 Linux program"
done

echo "== dist"
bash tools/installer/linux/pack.sh "$build/kesto" "$build/tools/updater/up.qmz" \
  "$build/tools/regtool/regtool" "$tarball"

# What users get must hold what they need.
listing=$(tar -tzf "$tarball")
for name in kesto up.qmz regtool install.sh README.txt icons/kesto-48.png icons/kesto-16.png; do
  grep -qx "kesto/$name" <<<"$listing" || fail "$(basename "$tarball") lacks kesto/$name"
done
echo "made $tarball"
