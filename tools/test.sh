#!/usr/bin/env bash
# Checks that no Win32 resource is released by hand (tools/check-owners.sh,
# after its own test),
# installs what is missing, builds both Windows builds (64-bit and the 32-bit
# programs we ship), compiles the 64-bit tree once more file by file (no
# batches) and runs every test under Wine: the 64-bit suite on every
# machine, the 32-bit suite wherever the machine can start a 32-bit program.
# Then the native checks (tools/native-checks.sh): the platform-free parts'
# tests under the sanitizers and every fuzz target for 20 seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# A few seconds' work, done before the long builds: the check's own test,
# then the check.
"$root/tools/check-owners-test.sh"
"$root/tools/check-owners.sh"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" x86_64
"$root/tools/build.sh" i686
source "$root/tools/wine-session.sh"
wine_session_start "$root/build"

suites=(x86_64)
why32=$(wine32_unusable_reason)
if [ -z "$why32" ]; then
  suites+=(i686)
  said="64-bit and 32-bit"
else
  said="64-bit only ($why32; the 32-bit programs were built, not run)"
fi
# One ctest run over the chosen suites, so tests that share the desktop
# take turns across both.
{
  echo "# The suites this machine runs (written by tools/test.sh)."
  for s in "${suites[@]}"; do echo "subdirs(\"$s\")"; done
} > "$root/build/CTestTestfile.cmake"
echo "Test suites: $said"
# The native build needs little of what the Wine tests use: it is made
# meanwhile. So is the 64-bit tree compiled file by file, without batches,
# which shows an include that a file lacks and a batchmate brings in; it
# yields to the tests.
"$root/tools/native-checks.sh" build > "$root/build/native-build.log" 2>&1 &
native_build=$!
nice -n 10 "$root/tools/build.sh" x86_64 single > "$root/build/single-build.log" 2>&1 &
single_build=$!
cd "$root/build"
status=0
ctest --output-on-failure -j "$(nproc)" --timeout 300 || status=$?
native="native checks passed"
if ! wait $native_build; then
  cat "$root/build/native-build.log"
fi
single="unbatched build passed"
if ! wait $single_build; then
  grep -B2 -A12 "FAILED:" "$root/build/single-build.log" || tail -n 40 "$root/build/single-build.log"
  status=1
  single="unbatched build FAILED"
fi
if ! "$root/tools/native-checks.sh" 20; then
  status=1
  native="native checks FAILED"
fi
echo "Test suites run: $said; $single; $native (sanitizer tests, fuzzing 20 s per target)"
exit $status
