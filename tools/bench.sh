#!/usr/bin/env bash
# Prints benchmark figures for this machine (not a test; no goal fails it):
# - reading, replacing and writing menu documents of 10,000, 100,000 and
#   1,000,000 entries, flat and nested, natively from an optimised build
#   without sanitizers (build/bench), each case in a process of its own.
#   Goals: 100,000 entries read and replaced within 1 s; written within
#   0.3 s, and 1,000,000 within 3 s.
# - under Wine, from the 64-bit build (build/x86_64): the editor opening a
#   document of 10,000 entries until its tree shows them (goal: within 2 s)
#   and the runtime until its player window and its child windows are
#   painted (goal: within 1.5x of a bare program showing one window; the two
#   start in turns; build/x86_64/bin/wine_bench.exe --start [runs] gives this
#   figure alone); building a menu executable beside copying the same bytes
#   with cp (goal: within 2x); then the editor opening documents of 25,000,
#   50,000 and 100,000 entries (goal: 100,000 within 3 s, the time growing in
#   step with the entries).
# - GIF decoding and encoding natively (a 1024 x 1024 picture of 256 colours
#   and a 200-frame animation) beside giflib (goal: decoding at least as fast,
#   encoding within 1.5x). build/bench/bin/gif_bench also takes GIF files:
#   gif_bench [--dump DIR] [--encode DIR] file.gif ...
#   tools/bench.sh [entries...]   (the native document sizes)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Release -DQUILLORY_SANITIZE=OFF >/dev/null
fi
cmake --build "$build" --target document_bench gif_bench >/dev/null
echo "Menu documents, native ($(nproc) cores, $(uname -m)):"
"$build/bin/document_bench" "$@"
"$build/bin/gif_bench"

x64=$root/build/x86_64
[ -f "$x64/build.ninja" ] || "$root/tools/build.sh" x86_64 >/dev/null
ninja -C "$x64" wine_bench >/dev/null
echo "Windows programs under Wine ($(wine --version 2>/dev/null || echo wine), 64-bit build):"
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT
(
  cd "$root"
  source tools/wine-session.sh
  wine_session_start "$root/build"
  cd "$x64/bin"
  "$WINE64" wine_bench.exe 10000 2>/dev/null
) | tr -d '\r' >"$figures"
sed '/^build-seconds /,$d' "$figures"

# Copying the built executable's bytes with cp, the peer of the build:
# the median of five, like the build, each read from the shell's own clock
# just before and after cp, so no other process start is counted.
build_seconds=$(awk '/^build-seconds / { print $2 }' "$figures")
built=$x64/bin/bench/entries.exe
if [ -n "$build_seconds" ] && [ -f "$built" ]; then
  copies=()
  for _ in 1 2 3 4 5; do
    start=${EPOCHREALTIME/[.,]/}
    cp "$built" "$built.copy"
    end=${EPOCHREALTIME/[.,]/}
    copies+=("$((end - start))")
  done
  rm -f "$built.copy"
  copy_us=$(printf '%s\n' "${copies[@]}" | sort -n | sed -n 3p)
  awk -v b="$build_seconds" -v c="$(awk -v us="$copy_us" 'BEGIN { print us / 1e6 }')" -v size="$(stat -c %s "$built")" 'BEGIN {
    printf "  %-44s %7.3f s (%d bytes)\n", "copying the same bytes with cp", c, size
    printf "  %-44s %5.2fx cp (goal: 2x)\n", "building beside copying", b / c }'
fi
# The editor on large documents, after the build and its peer.
sed '1,/^build-seconds /d' "$figures"
