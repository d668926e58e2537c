#!/usr/bin/env bash
# Scan to fields: one A4 page at 300 dpi through SANE's pnm backend, scanned,
# transferred, read and filled into each recognition window, beside scanimage
# for the same scan. Prints the figures and whether reading and filling add
# at most 150 ms to the scan. Arguments go to the benchmark program (e.g.
# --benchmark_filter=Scanify).
#
# scanimage (Debian package sane-utils) is installed here too: the benchmark
# cannot run without it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if ! dpkg-query -W -f='${Status}' sane-utils 2>/dev/null | grep -q 'install ok installed'; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends sane-utils
fi
dir="${R9_BENCH_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DR9_BUILD_BENCH=ON >/dev/null
cmake --build "$dir" --target bench_scan_to_fields velmar-host
export QT_QPA_PLATFORM=offscreen
exec "$dir/bin/bench_scan_to_fields" "$@"
