#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz) with clang's libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer in ./build-fuzz, and fuzzes
# each for the given number of seconds (default 60), starting from its seed
# corpus in tests/fuzz/corpus/<target>. Inputs found to add coverage are kept
# in build-fuzz/corpus/<target> (the next run starts from them too); a crash,
# a hang or a sanitizer report lands in build-fuzz/artifacts/<target>/ and
# makes the run fail. Prints executions, corpus size and faults per target.
#
#   scripts/run-fuzz.sh [seconds] [target...]
#   scripts/run-fuzz.sh --replay [target...]   every input of the seed corpus
#                                  once, under the sanitizers (no fuzzing)
#   scripts/run-fuzz.sh --available   exit 0 when clang can link libFuzzer
#
# Exit status: 0 all well, 1 a target failed (a new finding, or with
# --replay an input of the corpus that fails), 2 clang cannot link
# libFuzzer, 3 the targets did not build.
set -euo pipefail
cd "$(dirname "$0")/.."

cc=${R9_FUZZ_CC:-clang}
cxx=${R9_FUZZ_CXX:-clang++}

available() {
  local dir
  dir=$(mktemp -d)
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long){return 0;}\n' >"$dir/t.cpp"
  local rc=0
  "$cxx" -fsanitize=fuzzer,address,undefined "$dir/t.cpp" -o "$dir/t" >/dev/null 2>&1 || rc=1
  rm -rf "$dir"
  return $rc
}

if [ "${1:-}" = "--available" ]; then
  available
  exit $?
fi
if ! command -v "$cxx" >/dev/null || ! available; then
  echo "run-fuzz: $cxx cannot link libFuzzer (scripts/setup.sh installs clang and its runtime)" >&2
  exit 2
fi

replay=0
if [ "${1:-}" = "--replay" ]; then
  replay=1
  shift
  seconds=0
else
  seconds=${1:-60}
  shift || true
fi

CC=$cc CXX=$cxx cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DR9_FUZZ=ON -DR9_SANITIZE=ON -DR9_BUILD_BENCH=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do
    t=${f##*/fuzz_}
    targets+=("${t%.cpp}")
  done
fi
if ! cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"; then
  echo "run-fuzz: the fuzz targets did not build" >&2
  exit 3
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
# Leaks of the system's font library at start-up are not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
summary=()
if [ "$replay" = 1 ]; then
  # The seed corpus and every regression input, each run once with the
  # sanitizers on; a fresh output folder keeps the corpus itself unchanged.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  for t in "${targets[@]}"; do
    log=build-fuzz/logs/$t.replay.log
    mkdir -p "$(dirname "$log")" "$scratch/$t"
    count=$(find "tests/fuzz/corpus/$t" -type f | wc -l)
    rc=0
    ./build-fuzz/fuzz/fuzz_"$t" "$scratch/$t" "tests/fuzz/corpus/$t" -runs=0 -timeout=60 \
      -rss_limit_mb=2048 -artifact_prefix="$scratch/$t/" >"$log" 2>&1 || rc=$?
    if [ "$rc" -ne 0 ]; then
      failed=1
      summary+=("$(printf '%-22s %8s  FAILED (exit %s), see %s' "$t" "$count" "$rc" "$log")")
      grep -m5 -E 'ERROR|runtime error|property broken|SUMMARY' "$log" >&2 || true
    else
      summary+=("$(printf '%-22s %8s  ok' "$t" "$count")")
    fi
  done
  printf '\n%-22s %8s\n' "replayed target" inputs
  printf '%s\n' "${summary[@]}"
  exit $failed
fi
for t in "${targets[@]}"; do
  work=build-fuzz/corpus/$t
  artifacts=build-fuzz/artifacts/$t
  log=build-fuzz/logs/$t.log
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  # Faults of earlier runs were reported then; count this run's only.
  find "$artifacts" -maxdepth 1 -type f -delete
  echo "== fuzzing $t for ${seconds}s"
  # Page pictures whose zone still reads need a few kilobytes more.
  max_len=4096
  [ "$t" = mrz_page ] && max_len=8192
  rc=0
  ./build-fuzz/fuzz/fuzz_"$t" "$work" "tests/fuzz/corpus/$t" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=$max_len \
    -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  corpus=$(( $(find "$work" -type f | wc -l) + $(find "tests/fuzz/corpus/$t" -type f | wc -l) ))
  faults=$(find "$artifacts" -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
  summary+=("$(printf '%-22s %12s %8s %7s' "$t" "${execs:-?}" "$corpus" "$faults")")
  if [ "$rc" -ne 0 ]; then
    failed=1
    echo "   FAULT (exit $rc), see $log and $artifacts/" >&2
    grep -m5 -E 'ERROR|runtime error|property broken|SUMMARY' "$log" >&2 || true
  fi
done

printf '\n%-22s %12s %8s %7s\n' target executions corpus faults
printf '%s\n' "${summary[@]}"
exit $failed
