#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer build, and runs every test in
# both; builds the Windows tests and runs them under Wine; compiles the shipped 32-bit Windows
# programs, the zip and the installer. Exits non-zero on any failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"

bash tools/scripts/install-deps.sh

jobs=$(nproc)
status=0
# run_build DIR "CTEST ARGS" CMAKE ARGS...
run_build() {
  local dir=$1 ctest_args=$2
  shift 2
  echo "== build $dir"
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== tests $dir"
  # No second chance for a failing test: the GUI and end-to-end tests wait for the events
  # themselves, so a miss is a fault to find, not load to ride out.
  # shellcheck disable=SC2086
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 600 $ctest_args || status=1
}

# The normal build's built-in settings point at the loopback demo site, so the end-to-end tests
# drive it as it is. The sanitizer build keeps the product settings and runs every other test.
e2e_port=18431
run_build build "" -DKESTO_WEB_HOST="127.0.0.1:$e2e_port" \
  -DKESTO_PAY_SITE="http://127.0.0.1:$e2e_port/pay/" -DKESTO_UPDATE_HOST=127.0.0.1 \
  -DKESTO_UPDATE_PORT="$e2e_port"
UBSAN_OPTIONS=print_stacktrace=1 run_build build-asan "-LE e2e" -DKESTO_SANITIZE=ON

# Both builds replayed every fuzz corpus; a short fuzzing run per target looks for new findings.
echo "== fuzz"
bash tools/scripts/fuzz.sh 20 || status=1

# The Windows tests: built for x86_64, the kind this machine runs, and run under Wine. The
# profile-file cases of the normal build are what the system's profile calls are compared with.
run_build build-win64 "" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DKESTO_REFERENCE_PROFILE_CASES="$top/build/tests/profile_differential/profile_cases"

# The shipped 32-bit Windows build: what users download is made and checked.
KESTO_JOBS=$jobs bash tools/scripts/build-windows.sh build-win32 || status=1

exit $status
