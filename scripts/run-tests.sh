#!/usr/bin/env bash
# Sets up, builds and runs every test suite, and builds and checks the Debian
# packages (scripts/build-packages.sh). With --sanitize the build uses
# AddressSanitizer and UndefinedBehaviorSanitizer (in ./build-asan), and the
# package suite makes its packages of that build itself.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir=build
args=(-DR9_BUILD_TESTS=ON -DR9_BUILD_BENCH=OFF)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  args+=(-DR9_SANITIZE=ON)
  # Caches the font library keeps for the life of the process are no leak
  # of ours (the corpus replays and the C host draw text).
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0}
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${args[@]}"
cmake --build "$dir"
if [ "$dir" = build ]; then
  # The Debian packages of this build, checked by lintian; the package suite
  # then installs these rather than making its own.
  packages=$(bash scripts/build-packages.sh | tee /dev/stderr | tail -n 1)
  export R9_PACKAGES_DIR=$packages
fi
export QT_QPA_PLATFORM=offscreen
# The benchmark script's test (label "bench") times for a minute: not in CI.
(cd "$dir" && ctest --output-on-failure -j2 --timeout 600 -LE bench)
# ctest replays every fuzz corpus in the build above; where clang's libFuzzer
# is installed, the fuzz targets are built with the sanitizers and replay the
# corpus again: a memory fault only the sanitizers see, or targets that do
# not build, fail the run. A short fuzzing run of every target follows
# (R9_FUZZ_SECONDS each, 0: none).
if [ "$dir" = build ] && bash scripts/run-fuzz.sh --available; then
  bash scripts/run-fuzz.sh --replay
  if [ "${R9_FUZZ_SECONDS:-20}" -gt 0 ]; then
    # A new finding of this short random run is reported, not a failed
    # build: it belongs in the corpus with its fix, and the replay is the gate.
    rc=0
    bash scripts/run-fuzz.sh "${R9_FUZZ_SECONDS:-20}" || rc=$?
    if [ "$rc" -eq 1 ]; then
      echo "*** fuzzing found a new fault: see build-fuzz/logs and build-fuzz/artifacts;"
      echo "*** add the input to tests/fuzz/corpus/<target>/ with its fix"
    elif [ "$rc" -ne 0 ]; then
      exit "$rc"
    fi
  fi
fi
