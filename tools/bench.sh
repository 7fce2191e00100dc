#!/usr/bin/env bash
# Prints benchmark figures for this machine (not a test): reading,
# replacing and writing menu documents of 10,000 and 100,000 entries, flat
# and nested, natively from an optimised build without sanitizers
# (build/bench). Goal: 100,000 entries read and replaced within 1 s.
#   tools/bench.sh [entries...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Release -DQUILLORY_SANITIZE=OFF >/dev/null
fi
cmake --build "$build" --target document_bench >/dev/null
echo "Menu documents, native ($(nproc) cores, $(uname -m)):"
"$build/bin/document_bench" "$@"
