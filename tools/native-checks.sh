#!/usr/bin/env bash
# The native checks: builds the platform-free parts (the class library's
# core, the menu document, Pixwell's readers) with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer into build/native, runs
# their tests, then every fuzz target at once for a short while.
#   tools/native-checks.sh [seconds per fuzz target, default 20; 0: none]
#   tools/native-checks.sh build     (only configures and builds)
# Fails on any failing test or any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/native
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build"
[ "${1:-}" = build ] && exit 0
seconds=${1:-20}

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 300) || status=1
if [ "$seconds" -gt 0 ]; then
  "$root/tools/fuzz.sh" "$seconds" || status=1
fi
exit $status
