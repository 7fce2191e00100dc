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
# - UTF-8 and UTF-7 encoding and decoding of 100 MB of mixed text beside
#   CPython's codecs, natively and from the 64-bit build under Wine (goal:
#   at least CPython's speed, cold, under Wine, all four directions); the
#   figures print the texts, the method and each goal. UTF_BENCH_MB and
#   UTF_BENCH_ROUNDS set the size and the rounds; utf_convert also converts
#   files on its own (run it for its usage).
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

# UTF-8 and UTF-7 beside CPython. Each round starts, one after the other,
# utf_convert natively, the 64-bit build's utf_convert.exe under Wine (wide
# strings of 16-bit units, as in the programs; natively they are 32-bit) and
# CPython, each a fresh process that times the conversion alone (see
# bench/utf_convert.cpp). A ratio is CPython's time over ours in the same
# round, so that both meet the same load; the figure is the median ratio.
utf_figures() {
  local dir=$1 mb=${UTF_BENCH_MB:-100} rounds=${UTF_BENCH_ROUNDS:-5} convert=$build/bin/utf_convert py=$root/bench/python_codecs.py
  local wine_convert=$root/build/x86_64/bin/utf_convert.exe
  cmake --build "$build" --target utf_convert >/dev/null
  if [ -f "$root/build/x86_64/build.ninja" ]; then ninja -C "$root/build/x86_64" utf_convert >/dev/null; fi
  python3 "$py" generate "$dir/text.utf16" "$mb"
  "$convert" to-utf8 "$dir/text.utf16" "$dir/text.utf8"
  "$convert" to-utf7 "$dir/text.utf16" "$dir/text.utf7"
  local -A bytes=([utf16]=$(stat -c %s "$dir/text.utf16") [utf8]=$(stat -c %s "$dir/text.utf8") [utf7]=$(stat -c %s "$dir/text.utf7"))
  echo "UTF-8 and UTF-7 conversions beside CPython's codecs ($(python3 --version)):"
  echo "  texts: $mb MB of UTF-16LE from bench/python_codecs.py generate (seeded lines of ASCII, accented Latin,"
  echo "    Greek, Cyrillic, Chinese, Japanese, Korean and symbols) and its UTF-8 (${bytes[utf8]} bytes) and UTF-7"
  echo "    (${bytes[utf7]} bytes) forms"
  echo "  method: per direction $rounds rounds, each a fresh process of native utf_convert, utf_convert.exe under"
  echo "    Wine and CPython in turn, timing the conversion alone (text in memory to result); cold: the first"
  echo "    conversion in the process, into memory fresh from the system; warm: the median of 3 more. The"
  echo "    figure is the median over the rounds of CPython's time / ours, wall clock (processor time in"
  echo "    brackets); MB/s: input bytes over the median time. Load average $(cut -d' ' -f1 /proc/loadavg) at the start."
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
        echo "$run native $("$convert" "$direction" "$dir/text.$input" "$dir/native.out" --time 3 2>&1 | tr '\n' ' ')"
        if [ -f "$wine_convert" ]; then
          echo "$run wine $("$WINE64" "$wine_convert" "$direction" "$dir/text.$input" "$dir/wine.out" --time 3 2>&1 |
            tr -d '\r' | tr '\n' ' ')"
        fi
        echo "$run cpython $(python3 "$py" "$direction" "$dir/text.$input" "$dir/cpython.out" --time 3 2>&1 | tr '\n' ' ')"
      done >"$dir/times"
      local same="same bytes as CPython" out
      for out in native wine; do
        [ -f "$dir/$out.out" ] || continue
        cmp -s "$dir/$out.out" "$dir/cpython.out" || same="$out bytes DIFFER from CPython's"
        rm -f "$dir/$out.out"
      done
      awk -v name="$name" -v size="${bytes[$input]}" -v same="$same" -v rounds="$rounds" '
        function median(a, n,   i, j, t) {
          for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
          return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
        # Median over the rounds of a time (of ours, or of CPython over ours).
        function figure(who, key, ratio,   r, n, a) {
          n = 0
          for (r = 0; r < rounds; ++r) if ((r, who, key) in t && (r, "cpython", key) in t && t[r, who, key] > 0)
            a[++n] = ratio ? t[r, "cpython", key] / t[r, who, key] : t[r, who, key]
          return n ? median(a, n) : 0 }
        { for (i = 3; i < NF; i += 2) t[$1, $2, $i] = $(i + 1); seen[$2] = 1 }
        END {
          mb = size / 1e6
          printf "  %s (%.1f MB in; %s):\n", name, mb, same
          printf "    %-30s cold %7.1f MB/s                 warm %7.1f MB/s\n", "CPython",
            mb / figure("cpython", "cold", 0), mb / figure("cpython", "warm", 0)
          split("wine:under Wine (16-bit wchar_t)|native:natively (32-bit wchar_t)", rows, "|")
          for (r = 1; r <= 2; ++r) {
            split(rows[r], f, ":")
            if (!(f[1] in seen)) continue
            cold = figure(f[1], "cold", 1)
            goal = f[1] == "wine" ? (cold >= 1 ? "cold goal 1x: met" : "cold goal 1x: NOT met") : "no goal"
            printf "    %-30s cold %7.1f MB/s %5.2fx (%5.2fx)  warm %7.1f MB/s %5.2fx (%5.2fx)  %s\n",
              f[2], mb / figure(f[1], "cold", 0), cold, figure(f[1], "cold-cpu", 1),
              mb / figure(f[1], "warm", 0), figure(f[1], "warm", 1), figure(f[1], "warm-cpu", 1), goal } }' "$dir/times"
    done
    echo "  load average $(cut -d' ' -f1 /proc/loadavg) at the end"
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
