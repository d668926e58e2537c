#!/usr/bin/env bash
# Builds the Debian packages, one per install role (recognition9r,
# recognition9r-host, recognition9r-dev, recognition9r-doubles), into
# <build>/packages and checks them with lintian: any error fails the run,
# warnings are printed. Reuses ./build when it is a Release build without the
# sanitizers or the fuzzer (as the README's commands make it); else builds in
# ./build-packages. Prints the folder of the packages last.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh lintian desktop-file-utils

compatible() {
  local cache=$1/CMakeCache.txt
  [ -f "$cache" ] && grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$cache" &&
    ! grep -qx 'R9_SANITIZE:BOOL=ON' "$cache" && ! grep -qx 'R9_FUZZ:BOOL=ON' "$cache"
}
dir=build
if [ -f build/CMakeCache.txt ] && ! compatible build; then
  dir=build-packages
fi
if ! compatible "$dir"; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DR9_BUILD_TESTS=OFF -DR9_BUILD_BENCH=OFF
fi
cmake --build "$dir"

out=$PWD/$dir/packages
rm -rf "$out"
(cd "$dir" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -1 "$out"/*.deb

desktop-file-validate apps/velmar-host/velmar-host.desktop
# lintian exits non-zero on an error; its warnings and notes are shown.
lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$out"/*.deb
echo "$out"
