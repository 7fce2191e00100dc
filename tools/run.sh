#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on the sample
# document. With a display (DISPLAY set) the editor opens there and this
# script waits until it is closed; without one it runs under Xvfb, a
# screenshot is saved to build/screenshots/editor.png and the editor is
# closed again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" >/dev/null
document=${1:-$root/samples/Sample.qbx}
source "$root/tools/wine-session.sh"
cd "$root/build/bin"
if [ -n "${DISPLAY:-}" ]; then
  wine_session_start "$root/build" use-display
  wine Quillory.exe "$(winepath -w "$document")"
else
  wine_session_start "$root/build"
  wine Quillory.exe "$(winepath -w "$document")" &
  editor=$!
  mkdir -p "$root/build/screenshots"
  sleep 6
  wine screenshot.exe "$(winepath -w "$root/build/screenshots/editor.png")" || true
  echo "Screenshot: $root/build/screenshots/editor.png"
  kill "$editor" 2>/dev/null || true
fi
