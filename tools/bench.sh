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
#   with cp (goal: within 2x): the build is timed inside wine_bench around
#   the builder's one call (template and 10,000-entry document in, the
#   executable out, its closing message box answered by the bench), cp here
#   by the shell's clock around cp of that executable; each 9 times in a
#   row, files in the page cache, and the fastest run of each is taken, so
#   that the machine's other work does not count; then the editor opening
#   documents of 25,000, 50,000 and 100,000 entries (goal: 100,000 within
#   3 s, the time growing in step with the entries); then File/New confirmed
#   in the editor showing each of those documents, until its tree shows the
#   root alone (goal: 100,000 within 1 s, the time growing in step with the
#   entries), and File/Open of the 10,000-entry document in the editor
#   showing the 100,000-entry one, from confirming the file dialog until the
#   tree shows it (goal: within 1 s); wine_bench.exe --emptying [sizes...]
#   gives these alone.
# - GIF decoding and encoding natively (a 1024 x 1024 picture of 256 colours
#   and a 200-frame animation) beside giflib (goal: decoding at least as fast,
#   encoding within 1.5x). build/bench/bin/gif_bench also takes GIF files:
#   gif_bench [--dump DIR] [--encode DIR] file.gif ...
# - UTF-8 and UTF-7 encoding and decoding of 100 MB of mixed text, natively
#   (build/bench/bin/utf_convert) and from the 64-bit build under Wine, beside
#   CPython's codecs, each timed around the conversion alone in fresh
#   processes: cold is the first conversion in a process, warm a repeated one
#   (goal: at least CPython's speed, both). UTF_BENCH_MB sets the size;
#   utf_convert also converts files on its own (run it for its usage).
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

# UTF-8 and UTF-7 beside CPython: per direction three rounds (UTF_BENCH_ROUNDS), each a fresh
# process of utf_convert natively, of the 64-bit build's utf_convert.exe
# under Wine (wide strings of 16-bit units, as in the programs; natively they
# are 32-bit) and of CPython; cold is the median first conversion, warm the
# median of the processes' medians of three repeats. MB/s count the
# direction's input bytes.
utf_figures() {
  local dir=$1 mb=${UTF_BENCH_MB:-100} rounds=${UTF_BENCH_ROUNDS:-3} convert=$build/bin/utf_convert py=$root/bench/python_codecs.py
  local wine_convert=$root/build/x86_64/bin/utf_convert.exe
  cmake --build "$build" --target utf_convert >/dev/null
  if [ -f "$root/build/x86_64/build.ninja" ]; then ninja -C "$root/build/x86_64" utf_convert >/dev/null; fi
  python3 "$py" generate "$dir/text.utf16" "$mb"
  "$convert" to-utf8 "$dir/text.utf16" "$dir/text.utf8"
  "$convert" to-utf7 "$dir/text.utf16" "$dir/text.utf7"
  echo "UTF-8 and UTF-7 conversions of $mb MB of mixed text (UTF-16LE) beside $(python3 --version):"
  (
    if [ -f "$wine_convert" ]; then
      cd "$root"
      source tools/wine-session.sh
      wine_session_start "$root/build" >/dev/null 2>&1
    fi
    local row direction input name run
    for row in "UTF-8 encoding:to-utf8:utf16" "UTF-8 decoding:from-utf8:utf8" \
               "UTF-7 encoding:to-utf7:utf16" "UTF-7 decoding:from-utf7:utf7"; do
      IFS=: read -r name direction input <<<"$row"
      for ((run = 0; run < rounds; ++run)); do
        echo "native $("$convert" "$direction" "$dir/text.$input" "$dir/native.out" --time 3 2>&1 | tr '\n' ' ')"
        if [ -f "$wine_convert" ]; then
          echo "wine $("$WINE64" "$wine_convert" "$direction" "$dir/text.$input" "$dir/wine.out" --time 3 2>&1 |
            tr -d '\r' | tr '\n' ' ')"
        fi
        echo "cpython $(python3 "$py" "$direction" "$dir/text.$input" "$dir/cpython.out" --time 3 2>&1 | tr '\n' ' ')"
      done >"$dir/times"
      local same="same bytes as CPython" out
      for out in native wine; do
        [ -f "$dir/$out.out" ] || continue
        cmp -s "$dir/$out.out" "$dir/cpython.out" || same="$out bytes DIFFER from CPython's"
        rm -f "$dir/$out.out"
      done
      awk -v name="$name" -v size="$(stat -c %s "$dir/text.$input")" -v same="$same" '
        function median(a, n,   i, j, t) {
          for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
          return a[int((n + 1) / 2)] }
        { for (i = 2; i < NF; i += 2) { k = $1 " " $i; v[k, ++n[k]] = $(i + 1) } }
        END {
          for (k in n) { for (i = 1; i <= n[k]; ++i) a[i] = v[k, i]; m[k] = median(a, n[k]) }
          mb = size / 1e6
          printf "  %s (%s):\n", name, same
          printf "    %-28s cold %7.1f MB/s   warm %7.1f MB/s\n", "CPython", mb / m["cpython cold"], mb / m["cpython warm"]
          split("native:natively (32-bit wchar_t)|wine:under Wine (16-bit wchar_t)", rows, "|")
          for (r = 1; r <= 2; ++r) {
            split(rows[r], f, ":")
            if (!((f[1] " cold") in m)) continue
            printf "    %-28s cold %7.1f MB/s %5.2fx   warm %7.1f MB/s %5.2fx CPython (goal: 1x)\n", f[2],
              mb / m[f[1] " cold"], m["cpython cold"] / m[f[1] " cold"], mb / m[f[1] " warm"],
              m["cpython warm"] / m[f[1] " warm"] } }' "$dir/times"
    done
  )
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
sed '/^build-seconds /,$d' "$figures"

# Copying the built executable's bytes with cp, the peer of the build:
# the fastest of nine, like the build, each read from the shell's own clock
# just before and after cp (the start of cp's process counted).
build_seconds=$(awk '/^build-seconds / { print $2 }' "$figures")
built=$x64/bin/bench/entries.exe
if [ -n "$build_seconds" ] && [ -f "$built" ]; then
  copies=()
  for _ in 1 2 3 4 5 6 7 8 9; do
    start=${EPOCHREALTIME/[.,]/}
    cp "$built" "$built.copy"
    end=${EPOCHREALTIME/[.,]/}
    copies+=("$((end - start))")
  done
  rm -f "$built.copy"
  copy_us=$(printf '%s\n' "${copies[@]}" | sort -n | sed -n 1p)
  awk -v b="$build_seconds" -v c="$(awk -v us="$copy_us" 'BEGIN { print us / 1e6 }')" -v size="$(stat -c %s "$built")" 'BEGIN {
    printf "  %-44s %7.3f s (%d bytes, fastest of 9)\n", "copying the same bytes with cp", c, size
    printf "  %-44s %5.2fx cp (goal: 2x)\n", "building beside copying", b / c }'
fi
# The editor on large documents, after the build and its peer; then File/New
# and File/Open after them.
sed '1,/^build-seconds /d' "$figures"
