#!/usr/bin/env bash
# Runs every fuzz target of the native build (build/native, made by
# tools/native-checks.sh) at once, each for the given seconds (default 300),
# starting from its seeds in fuzz/corpus/<target>. What the targets learn
# and find is kept under build/fuzz/<target>/: corpus/ (inputs that reach
# new code) and findings/ (inputs that crashed or failed a check), with the
# target's output in log.txt. Fails when any target found something.
#   tools/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
bin=$root/build/native/bin
out=$root/build/fuzz
if [ ! -x "$bin/fuzz_seeds" ]; then
  "$root/tools/native-checks.sh" build
fi
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

targets=()
for t in "$bin"/*_fuzz; do targets+=("$(basename "$t" _fuzz)"); done
pids=()
for t in "${targets[@]}"; do
  mkdir -p "$out/$t/corpus" "$out/$t/findings"
  # Started in its output folder: whatever the fuzzer writes beside itself stays there.
  (cd "$out/$t" && exec "$bin/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$out/$t/findings/" \
    "$out/$t/corpus" "$root/fuzz/corpus/$t") >"$out/$t/log.txt" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  if wait "${pids[$i]}"; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$t/log.txt" | grep -o '[0-9]*$' || echo '?')
    echo "fuzz $t: no finding in $runs inputs"
  else
    status=1
    echo "fuzz $t: FINDING (see $out/$t/log.txt and $out/$t/findings/)"
    grep -m1 -E 'ERROR:|fuzz check failed|runtime error|deadly signal|uncaught' "$out/$t/log.txt" || true
  fi
done
exit $status
