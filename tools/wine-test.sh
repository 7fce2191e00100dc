#!/usr/bin/env bash
# Runs one test executable under Wine (ctest's driver):
# tools/wine-test.sh i686|x86_64 program.exe [arguments]
# It runs in a folder of its own, build/<arch>/test-output/<program>/, so
# what a test writes stays apart from the shipped files in bin/.
set -euo pipefail
source "$(dirname "$0")/wine-session.sh"
loader=$(wine_loader "$1")
exe=$(cd "$(dirname "$2")" && pwd)/$(basename "$2"); shift 2
work=$(dirname "$(dirname "$exe")")/test-output/$(basename "$exe" .exe)
mkdir -p "$work"
cd "$work"
exec "$loader" "$exe" "$@"
