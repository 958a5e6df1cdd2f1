#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer build, and runs every test in
# both. Exits non-zero on any failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"

bash tools/scripts/install-deps.sh

jobs=$(nproc)
status=0
run_build() {
  local dir=$1
  shift
  echo "== build $dir"
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== tests $dir"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 600 || status=1
}

run_build build
UBSAN_OPTIONS=print_stacktrace=1 run_build build-asan -DKESTO_SANITIZE=ON

exit $status
