#!/usr/bin/env bash
# Runs one test executable under Wine, in its own folder (ctest's driver):
# tools/wine-test.sh i686|x86_64 program.exe [arguments]
set -euo pipefail
source "$(dirname "$0")/wine-session.sh"
loader=$(wine_loader "$1")
exe=$2; shift 2
cd "$(dirname "$exe")"
exec "$loader" "$(basename "$exe")" "$@"
