#!/usr/bin/env bash
# Sets up, builds and runs every test suite. With --sanitize the build uses
# AddressSanitizer and UndefinedBehaviorSanitizer (in ./build-asan).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir=build
args=(-DR9_BUILD_TESTS=ON -DR9_BUILD_BENCH=OFF)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  args+=(-DR9_SANITIZE=ON)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${args[@]}"
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
# The benchmark script's test (label "bench") times for a minute: not in CI.
cd "$dir" && ctest --output-on-failure -j2 --timeout 600 -LE bench
