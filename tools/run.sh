#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on the sample
# document: the 32-bit editor where this machine starts 32-bit programs,
# otherwise the 64-bit one. With a display (DISPLAY set) the editor opens
# there and this script waits until it is closed; without one it runs under
# Xvfb, a screenshot is saved to build/screenshots/editor.png and the editor
# is closed again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
document=${1:-$root/samples/Sample.qbx}
source "$root/tools/wine-session.sh"
if [ -n "${DISPLAY:-}" ]; then
  wine_session_start "$root/build" use-display
else
  wine_session_start "$root/build"
fi
if wine32_usable; then arch=i686; kind=32-bit; else arch=x86_64; kind=64-bit; fi
"$root/tools/build.sh" $arch >/dev/null
loader=$(wine_loader $arch)
echo "Starting the $kind editor (build/$arch/bin/Quillory.exe)"
bin="$root/build/$arch/bin"
doc=$("$WINE64" winepath.exe -w "$(realpath "$document")" 2>/dev/null | tr -d '\r')
# Started where it is called from: the editor itself resolves the
# document's relative links and pictures against the document's folder.
if [ -z "${WINE_SESSION_XVFB:-}" ]; then
  "$loader" "$bin/Quillory.exe" "$doc"
else
  "$loader" "$bin/Quillory.exe" "$doc" &
  editor=$!
  mkdir -p "$root/build/screenshots"
  shot=$("$WINE64" winepath.exe -w "$root/build/screenshots/editor.png" 2>/dev/null | tr -d '\r')
  # The screenshot waits until the editor's main window shows.
  "$loader" "$bin/screenshot.exe" --wait-for TMainForm "$shot" || true
  echo "Screenshot: $root/build/screenshots/editor.png"
  kill "$editor" 2>/dev/null || true
fi
