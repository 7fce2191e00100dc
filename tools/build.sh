#!/usr/bin/env bash
# Configures (once) and builds the tree for one Windows architecture:
# tools/build.sh i686 (the programs we ship) or tools/build.sh x86_64.
# Each goes to build/<arch>/; outside sources are unpacked once into build/_deps.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:?usage: build.sh i686|x86_64}
build=$root/build/$arch
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DQUILLORY_DEPS_DIR="$root/build/_deps" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -- -k 0
