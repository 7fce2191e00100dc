#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root (clang, its
# sanitizer and fuzzer runtimes, llvm's symbolizer and libjpeg for the native
# checks; giflib as the GIF benchmark's peer). Does nothing when everything is
# already there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine32 wine64 xvfb xauth dpkg-dev
          googletest fonts-liberation fonts-liberation2
          clang libclang-rt-14-dev llvm libjpeg62-turbo-dev libgif-dev)
for p in "${packages[@]}"; do have_pkg "$p" || need+=("$p"); done

src_list=/etc/apt/sources.list.d/quillory-src.sources
added_src=0
if [ ! -f "$src_list" ]; then
  cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  added_src=1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  added_src=1
fi

if [ ${#need[@]} -gt 0 ] || [ $added_src = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  if [ ${#need[@]} -gt 0 ]; then
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
  fi
fi
