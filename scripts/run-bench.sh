#!/usr/bin/env bash
# Times the package's resampler beside Pillow and libvips on the same pictures
# and prints the table: sets up, configures the build folder with the
# benchmarks on (they are off in the test build), builds the benchmark program
# and runs bench/run_resize_compare.py. Arguments go to the comparison
# (e.g. --repeat 3). R9_BENCH_BUILD_DIR chooses the build folder (default ./build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir="${R9_BENCH_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DR9_BUILD_BENCH=ON
cmake --build "$dir" --target bench_resample
exec /usr/bin/python3 bench/run_resize_compare.py "$dir/bin/bench_resample" "$@"
