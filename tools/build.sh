#!/usr/bin/env bash
# Configures (once) and builds the tree for one Windows architecture:
# tools/build.sh i686 (the programs we ship) or tools/build.sh x86_64.
# Each goes to build/<arch>/; outside sources are unpacked once into build/_deps.
#   tools/build.sh x86_64 single   the 64-bit tree with every source compiled
#                                  on its own, not in batches, into
#                                  build/x86_64-single/: shows an include a
#                                  file lacks that a batchmate brings in
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:?usage: build.sh i686|x86_64 [single]}
build=$root/build/$arch
unity=ON
if [ "${2:-}" = single ]; then
  build=$root/build/$arch-single
  unity=OFF
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DQUILLORY_DEPS_DIR="$root/build/_deps" \
    -DQUILLORY_UNITY=$unity \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -- -k 0
