#!/usr/bin/env bash
# Our printed-fields reader against plain Tesseract (rus+eng, the whole page)
# on the evaluation set of generated document pages (seeds 9000..9059: 20
# internal passports, 20 driving licences, 20 foreign passports, drawn into
# build/printed-pages the first time and reused after). Prints one table:
# per field exactly right and character error rate, all fields, documents with
# every field right, fields that differ from the zone left unmarked and
# processor milliseconds per page on one core, beside the targets.
#
#   bash bench/run_printed_compare.sh [--no-tesseract]
#   bash bench/run_printed_compare.sh --seed S --count N   (a development set: seeds below 9000)
#
# The evaluation set is for measuring only; tune on development seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DR9_BUILD_BENCH=ON >/dev/null
cmake --build build --target printed_compare
export QT_QPA_PLATFORM=offscreen OMP_THREAD_LIMIT=1
exec build/bin/printed_compare --pages build/printed-pages "$@"
