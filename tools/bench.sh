#!/usr/bin/env bash
# Prints benchmark figures for this machine (not a test; no goal fails it):
# - reading, replacing and writing menu documents of 10,000 and 100,000
#   entries, flat and nested, natively from an optimised build without
#   sanitizers (build/bench). Goal: 100,000 entries read and replaced within 1 s.
# - under Wine, from the 64-bit build (build/x86_64): the editor opening a
#   document of 10,000 entries until its tree shows them (goal: within 2 s)
#   and the runtime until its player window is painted (goal: within 1.5x of
#   a bare program showing one window); building a menu executable beside
#   copying the same bytes with cp (goal: within 2x).
# - GIF decoding and encoding natively (a 1024 x 1024 picture of 256 colours
#   and a 200-frame animation) beside giflib (goal: decoding at least as fast,
#   encoding within 1.5x). build/bench/bin/gif_bench also takes GIF files:
#   gif_bench [--dump DIR] [--encode DIR] file.gif ...
# - UTF-8 and UTF-7 encoding and decoding of 100 MB of mixed text natively
#   (build/bench/bin/utf_convert) beside CPython's codecs, both timed around
#   the conversion alone in fresh processes: cold is the first conversion in
#   a process, warm a repeated one (goal: at least CPython's speed, both).
#   UTF_BENCH_MB sets the size; utf_convert converts files on its own too.
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

# UTF-8 and UTF-7 beside CPython: per direction three fresh processes of each,
# interleaved; cold is the median first conversion, warm the median of the
# processes' medians of three repeats. MB/s count the direction's input bytes.
utf_figures() {
  local dir=$1 mb=${UTF_BENCH_MB:-100} convert=$build/bin/utf_convert py=$root/bench/python_codecs.py
  cmake --build "$build" --target utf_convert >/dev/null
  python3 "$py" generate "$dir/text.utf16" "$mb"
  "$convert" to-utf8 "$dir/text.utf16" "$dir/text.utf8"
  "$convert" to-utf7 "$dir/text.utf16" "$dir/text.utf7"
  echo "UTF-8 and UTF-7 conversions of $mb MB of mixed text (UTF-16LE), native beside $(python3 --version):"
  local row direction input name
  for row in "UTF-8 encoding:to-utf8:utf16" "UTF-8 decoding:from-utf8:utf8" \
             "UTF-7 encoding:to-utf7:utf16" "UTF-7 decoding:from-utf7:utf7"; do
    IFS=: read -r name direction input <<<"$row"
    local ours=() theirs=() run
    for run in 1 2 3; do
      ours+=("$("$convert" "$direction" "$dir/text.$input" "$dir/ours.out" --time 3 2>&1 | tr '\n' ' ')")
      theirs+=("$(python3 "$py" "$direction" "$dir/text.$input" "$dir/theirs.out" --time 3 2>&1 | tr '\n' ' ')")
    done
    local same="same bytes"
    cmp -s "$dir/ours.out" "$dir/theirs.out" || same="bytes DIFFER"
    printf '%s\n' "${ours[@]/#/ours }" "${theirs[@]/#/theirs }" |
      awk -v name="$name" -v size="$(stat -c %s "$dir/text.$input")" -v same="$same" '
        function median(a, n,   i, j, t) {
          for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
          return a[int((n + 1) / 2)] }
        { for (i = 2; i < NF; i += 2) { k = $1 $i; v[k, ++n[k]] = $(i + 1) } }
        END {
          for (k in n) { for (i = 1; i <= n[k]; ++i) a[i] = v[k, i]; m[k] = median(a, n[k]) }
          mb = size / 1e6
          printf "  %-15s cold %7.1f MB/s (CPython %7.1f) %5.2fx   warm %7.1f MB/s (CPython %7.1f) %5.2fx  (%s)\n",
            name, mb / m["ourscold"], mb / m["theirscold"], m["theirscold"] / m["ourscold"],
            mb / m["ourswarm"], mb / m["theirswarm"], m["theirswarm"] / m["ourswarm"], same }'
  done
}
if command -v python3 >/dev/null; then
  utf_dir=$(mktemp -d)
  trap 'rm -rf "$utf_dir"' EXIT
  utf_figures "$utf_dir"
  rm -rf "$utf_dir"
  trap - EXIT
fi

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
grep -v '^build-seconds ' "$figures"

# Copying the built executable's bytes with cp, the peer of the build.
build_seconds=$(awk '/^build-seconds / { print $2 }' "$figures")
built=$x64/bin/bench/entries.exe
if [ -n "$build_seconds" ] && [ -f "$built" ]; then
  copies=()
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    cp "$built" "$built.copy"
    end=$(date +%s%N)
    copies+=("$((end - start))")
  done
  rm -f "$built.copy"
  copy_ns=$(printf '%s\n' "${copies[@]}" | sort -n | sed -n 3p)
  awk -v b="$build_seconds" -v c="$(awk -v ns="$copy_ns" 'BEGIN { print ns / 1e9 }')" -v size="$(stat -c %s "$built")" 'BEGIN {
    printf "  %-44s %7.3f s (%d bytes)\n", "copying the same bytes with cp", c, size
    printf "  %-44s %5.2fx cp (goal: 2x)\n", "building beside copying", b / c }'
fi
