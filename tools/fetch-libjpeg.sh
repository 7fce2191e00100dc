#!/usr/bin/env bash
# Unpacks Debian's libjpeg-turbo source package into the folder given.
set -euo pipefail
dest=$1
work=$(dirname "$dest")/libjpeg-turbo-pkg
rm -rf "$work" && mkdir -p "$work"
cd "$work"
apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source libjpeg-turbo
src=$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
[ -n "$src" ] || { echo "libjpeg-turbo source not found" >&2; exit 1; }
rm -rf "$dest"
mv "$src" "$dest"
