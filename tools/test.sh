#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
source "$root/tools/wine-session.sh"
wine_session_start "$root/build"
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
