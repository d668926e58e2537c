#!/usr/bin/env bash
# Our machine-readable-zone reader against Tesseract 5 on the real development
# pictures (read in place from ../shared/mrz-real-dev; --real DIR elsewhere,
# skipped when missing) and on the fixed evaluation set (1000 pages drawn from
# a seed into build/mrz-evaluation the first time). Prints one table: documents
# with every line right, character error rate, zones found, false valid
# readings, zones found where there are none and processor milliseconds per
# picture for both, beside the accepted targets.
#
#   bash bench/run_mrz_compare.sh [--real DIR | --no-real] [--no-tesseract]
#
# The arguments go on to mrz_compare, which refuses --seed, --count, --dpi and
# --scans beside --evaluation: the evaluation set is always the same one.
#
# Tesseract (Debian packages tesseract-ocr, tesseract-ocr-eng) is installed
# here, not by scripts/setup.sh: only the benchmark needs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [[ " $* " != *" --no-tesseract "* ]]; then
  missing=()
  for p in tesseract-ocr tesseract-ocr-eng; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DR9_BUILD_BENCH=ON >/dev/null
cmake --build build --target mrz_compare
export QT_QPA_PLATFORM=offscreen
exec build/bin/mrz_compare --evaluation --pages build/mrz-evaluation "$@"
