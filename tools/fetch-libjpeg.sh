#!/usr/bin/env bash
# Unpacks Debian's libjpeg-turbo source package into the folder given. Its
# source index may have failed to download with the rest (a mirror in the
# middle of a sync): then the index is updated once more and the fetch tried
# again before giving up with a clear message.
set -euo pipefail
dest=$1
work=$(dirname "$dest")/libjpeg-turbo-pkg
rm -rf "$work" && mkdir -p "$work"
cd "$work"
if ! apt-get source -qq libjpeg-turbo >fetch.log 2>&1; then
  apt-get update -qq >/dev/null 2>&1 || true
  if ! apt-get source -qq libjpeg-turbo >fetch.log 2>&1; then
    cat fetch.log >&2
    echo "fetch-libjpeg: Debian's libjpeg-turbo source package could not be fetched (see above)" >&2
    exit 1
  fi
fi
src=$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
[ -n "$src" ] || { echo "fetch-libjpeg: libjpeg-turbo source not found after unpacking" >&2; exit 1; }
rm -rf "$dest"
mv "$src" "$dest"
