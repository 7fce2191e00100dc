#!/usr/bin/env bash
# Installs what is missing, builds both Windows builds (64-bit and the 32-bit
# programs we ship) and runs every test under Wine: the 64-bit suite on every
# machine, the 32-bit suite wherever the machine can start a 32-bit program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" x86_64
"$root/tools/build.sh" i686
source "$root/tools/wine-session.sh"
wine_session_start "$root/build"

suites=(x86_64)
said="64-bit"
if wine32_usable; then
  suites+=(i686)
  said="64-bit and 32-bit"
else
  said="64-bit only (this machine starts no 32-bit program)"
fi
# One ctest run over the chosen suites, so tests that share the desktop
# take turns across both.
{
  echo "# The suites this machine runs (written by tools/test.sh)."
  for s in "${suites[@]}"; do echo "subdirs(\"$s\")"; done
} > "$root/build/CTestTestfile.cmake"
echo "Test suites: $said"
cd "$root/build"
status=0
ctest --output-on-failure -j "$(nproc)" --timeout 300 || status=$?
echo "Test suites run: $said"
exit $status
