#!/usr/bin/env bash
# The test command: installs what is missing, then builds and tests, in build folders of its
# own below test-builds/ (a build made by hand is never rebuilt by it):
#   linux  the sanitizer build (address and undefined behaviour), every Linux test in it, the end
#          to end cases included; its built-in settings point at the loopback demo site
#   win-tests  the Windows tests under Wine, built for x86_64 (for i686, as the shipped build
#              is, with KESTO_WIN_TESTS_ARCH=i686 where Wine's 32-bit half runs)
#   release  a release made as a vendor makes one, with the demo's configuration: the signed
#            32-bit Windows zip and installer, the Linux download and their feeds, every file
#            read back and both downloads installed and started; then refused against
#            configurations it was not made with
#   fuzz   a short libFuzzer run per target (both builds replay every corpus anyway)
# The tests of one build run while the next build compiles: most of them wait on time-outs, X
# servers and Wine rather than on the processors, and the compiles run at a lower priority. Each
# stage's output is printed whole when it ends, and the last lines give each stage's time.
# Exits non-zero when any build breaks or any test fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"

bash tools/scripts/install-deps.sh
export KESTO_DEPS_CHECKED=1
. tools/scripts/build_tools.sh

jobs=$(nproc)
builds=$top/test-builds
logs=$builds/logs
rm -rf "$logs"
mkdir -p "$logs"
start=$(date +%s)

# Stages run in the background, each with its log, and are waited for by name.
declare -A stage_pid stage_began stage_failed
stage_rows=()
status=0
begin() {
  local name=$1
  shift
  stage_began[$name]=$(date +%s)
  # The stage's end is noted when it comes, not when the stage is waited for.
  {
    local outcome=0
    "$@" >"$logs/$name.log" 2>&1 || outcome=$?
    date +%s >"$logs/$name.end"
    exit $outcome
  } &
  stage_pid[$name]=$!
}
finish() {
  local name=$1 outcome=passed
  wait "${stage_pid[$name]}" || {
    outcome=FAILED
    stage_failed[$name]=1
    status=1
  }
  echo "== $name ($outcome)"
  cat "$logs/$name.log"
  local began=$((stage_began[$name] - start)) ended=$(($(cat "$logs/$name.end") - start))
  stage_rows+=("$(printf '%-12s %5d s  (from %4d s to %4d s)  %s' "$name" $((ended - began)) \
    "$began" "$ended" "$outcome")")
}

# build DIR CMAKE ARGS...: configured and compiled at a lower priority than the tests beside it.
build() {
  local dir=$1
  shift
  configure_build "$top" "$dir" "$@"
  nice -n 10 cmake --build "$dir" -j "$jobs"
}
# No second chance for a failing test: the GUI and end-to-end tests wait for the events
# themselves, so a miss is a fault to find, not load to ride out. The one exception is the
# Windows tests' GUI suites under Wine (below).
run_tests() {
  local dir=$1
  shift
  ctest --test-dir "$dir" --output-on-failure --timeout 600 "$@"
}

# The Linux build: the sanitizer build with its built-in settings at the loopback demo site, so
# that the end-to-end cases drive it as it is. -O1 and line tables only, as the sanitizers
# advise: their reports keep their lines, and the build compiles in about half the time; the
# test programs themselves unoptimised.
linux=$builds/linux
e2e_port=18431
# A new release's trial in seconds: the tests of releases that fail it wait for these.
trial_times=(-DKESTO_SETTLE_SECONDS=2 -DKESTO_FIRST_WINDOW_SECONDS=10)
begin linux-build build "$linux" "${trial_times[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTO_SANITIZE=ON \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DKESTO_TEST_COMPILE_OPTIONS=-O0 \
  -DKESTO_WEB_HOST="127.0.0.1:$e2e_port" -DKESTO_PAY_SITE="http://127.0.0.1:$e2e_port/pay/" \
  -DKESTO_UPDATE_HOST=127.0.0.1 -DKESTO_UPDATE_PORT="$e2e_port"
finish linux-build

# Its tests beside the Windows test build. Most Linux tests sleep (stall times, X sessions), so
# more of them run at once than there are processors.
[ "${stage_failed[linux-build]:-}" ] ||
  UBSAN_OPTIONS=print_stacktrace=1 begin linux-tests run_tests "$linux" -j $((jobs + 1))
# The Windows tests' build, unoptimised and without debugging information: it compiles in about
# half the time, and the shipped build below is the optimised one. A folder built for the other
# kind (below) is made again. The system's profile calls are compared with the Linux build's
# profile-file cases.
# Its end-to-end cases may run while the Linux ones do, so their demo site has a port of its
# own, which its settings name for the update case.
wintests=$builds/win-tests
# The Windows unit and GUI tests run as x86_64 unless KESTO_WIN_TESTS_ARCH=i686 asks for the
# shipped build: under Wine's 32-bit half they failed now and then in ways of Wine's own (a
# new prefix whose first program could not load kernel32.dll, programs that lose their screen
# after "Failed to read display config", Wine processes holding CTest's output open after a
# passed test). The shipped i686 programs are still started under Wine's 32-bit half, by the
# release check.
arch=${KESTO_WIN_TESTS_ARCH:-x86_64}
if [ "$arch" = i686 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  arch=x86_64
  if [ -e /usr/lib/wine/wine ]; then
    why="wine32:i386 is installed, but this kernel runs no 32-bit programs (IA-32 emulation off)"
  else
    why="wine32:i386 is not installed (install-deps.sh said why)"
  fi
  echo "The Windows tests run as x86_64, not as the shipped i686 build: $why."
fi
toolchain=cmake/mingw-w64-$arch.cmake
if [ -f "$wintests/CMakeCache.txt" ] && ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*/$toolchain\$" \
  "$wintests/CMakeCache.txt"; then
  rm -rf "$wintests"
fi
begin win-tests-build build "$wintests" "${trial_times[@]}" -DCMAKE_BUILD_TYPE= \
  -DCMAKE_TOOLCHAIN_FILE=$toolchain -DKESTO_E2E_PORT=$((e2e_port + 1)) \
  -DKESTO_WEB_HOST="127.0.0.1:$((e2e_port + 1))" -DKESTO_UPDATE_HOST=127.0.0.1 \
  -DKESTO_UPDATE_PORT=$((e2e_port + 1)) \
  -DKESTO_REFERENCE_PROFILE_CASES="$linux/tests/profile_differential/profile_cases"
finish win-tests-build

# The Windows tests beside the shipped 32-bit build and the fuzzing. Their Wine prefix's server
# and services stay up for the whole run instead of starting again for each test (2 s a test);
# they are started here, by the loader the build's tests use, with no output to hold open, so
# that no test waits on them. Wine's desktop process, which every window of the prefix needs,
# gets an X display of its own for the stage: started without one, it left no test able to
# make a window.
win_tests() {
  local wine=(env WINEPREFIX="$wintests/wine-prefix" WINEDEBUG=-all) outcome=0 loader=wine64
  [ "$arch" = x86_64 ] || loader=wine
  mkdir -p "$wintests/wine-prefix"
  . tools/scripts/private_x_server.sh
  start_private_x_server 1024x768x24 || echo "no X display for Wine's desktop: window tests fail"
  wine+=(DISPLAY="$x_display")
  "${wine[@]}" /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
  "${wine[@]}" "/usr/lib/wine/$loader" wineboot </dev/null >/dev/null 2>&1 || true
  # A Windows GUI suite that fails is run once more: beside the release stage, Wine's own tray
  # and first-run set-up now and then missed a click that the same suite takes alone (seen:
  # the hide button of TrayEntry once in a run, and the suite then passing three times in three).
  # CTest's summary names any test that needed the second run.
  run_tests "$wintests" -j "$jobs" -LE win32_gui || outcome=1
  run_tests "$wintests" -j "$jobs" -L win32_gui --repeat until-pass:2 || outcome=1
  "${wine[@]}" /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -z "$x_server" ] || kill "$x_server" 2>/dev/null || true
  return $outcome
}
[ "${stage_failed[win-tests-build]:-}" ] || begin win-tests win_tests
# The release as vendors make it (tools/release/make-release.sh), with a throw-away demo
# configuration whose hosts are a demo site on the port after the Windows end-to-end cases'
# (the release check serves its feed there). Its builds are test-builds/win32 and
# test-builds/linux-release; it compiles at a lower priority, and starts the downloads at the
# tests' own.
release() {
  local config=$builds/release-config
  bash tools/release/demo-config.sh "$config" --port $((e2e_port + 2)) &&
    KESTO_JOBS=$jobs bash tools/release/make-release.sh "$config/release.conf" "$builds/release" \
      --builds "$builds" &&
    python3 tests/release/release_refusal_test.py --config "$config/release.conf" \
      --release "$builds/release"
}
begin release release
# The fuzz targets compile while the release's downloads are started and checked.
begin fuzz nice -n 10 bash tools/scripts/fuzz.sh 5
finish release
[ -z "${stage_pid[linux-tests]:-}" ] || finish linux-tests
finish fuzz
[ -z "${stage_pid[win-tests]:-}" ] || finish win-tests

echo "== stages"
printf '%s\n' "${stage_rows[@]}"
printf '%-12s %5d s\n' "whole run" $(($(date +%s) - start))
exit $status
