#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs each for SECONDS
# (60 unless told), one after the other: tools/scripts/fuzz.sh [SECONDS] [TARGET...]
# New inputs go to build-fuzz/runs/<target>/corpus, so the tree's seeds stay as they are; a
# finding is kept in build-fuzz/runs/<target>/ and belongs in fuzz/corpus/<target>/ once fixed.
# Prints the executions per target and exits non-zero when any target found something.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
. tools/scripts/build_tools.sh

seconds=${1:-60}
shift || true
build=build-fuzz
# The targets' options are their own (fuzz/libfuzzer/CMakeLists.txt), no build type's.
configure_build fuzz/libfuzzer "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=
cmake --build "$build" -j "$(nproc)" >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/fuzz_*; do targets+=("${program#"$build"/fuzz_}"); done
fi

status=0
for target in "${targets[@]}"; do
  run=$build/runs/$target
  mkdir -p "$run/corpus"
  # A run that stops answering for 10 s counts as a finding, as does any leak or crash.
  if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$run/" "$run/corpus" "fuzz/corpus/$target" \
    >"$run/log" 2>&1; then
    outcome=ok
  else
    outcome="FINDING (see $run/log)"
    status=1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log")
  printf '%-18s %12s executions in %s s  %s\n' "$target" "${executions:-?}" "$seconds" "$outcome"
done
exit $status
