#!/usr/bin/env bash
# The main job: set up, build, and run the reference host on the embedded
# stand-ins. Without a display it runs offscreen and prints its report.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
# Set-up and build talk on stderr: stdout is the host's JSON report.
bash scripts/build.sh -DR9_BUILD_TESTS=OFF -DR9_BUILD_BENCH=OFF >&2
# The persons' records go into the build folder unless --output says otherwise.
exec ./build/bin/velmar-host --output build/velmar-records "$@"
