#!/usr/bin/env bash
# Runs one test executable under Wine, in its own folder (ctest's driver).
set -euo pipefail
exe=$1; shift
cd "$(dirname "$exe")"
exec wine "$(basename "$exe")" "$@"
