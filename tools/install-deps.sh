#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root, in two steps:
#  1. what the 64-bit build, its tests and the native checks need (the
#     cross compilers, the 64-bit Wine, Xvfb, googletest, clang with its
#     sanitizer and fuzzer runtimes, libjpeg's source and giflib as the GIF
#     benchmark's peer). This step must succeed.
#  2. the 32-bit Wine, which lets the 32-bit suite run where the machine
#     starts 32-bit programs. When it cannot be installed, one line says so
#     and why, and the set-up goes on: the 64-bit suite runs alone.
# An index that fails to download (a mirror in the middle of a sync) does
# not end the set-up: the update is tried once more, then the installs decide.
# Does nothing when everything is already there.
#
# QUILLORY_APT_DIR (default /etc/apt) is where the package sources are read
# and where the source-package entry is added; tests point it elsewhere.
set -euo pipefail

apt_dir=${QUILLORY_APT_DIR:-/etc/apt}
export DEBIAN_FRONTEND=noninteractive

packages64=(cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
            binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine64 xvfb xauth dpkg-dev
            googletest fonts-liberation fonts-liberation2
            clang libclang-rt-14-dev llvm libjpeg62-turbo-dev libgif-dev)
packages32=(wine32)

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing() { local p; for p in "$@"; do have_pkg "$p" || echo "$p"; done; }

# The Debian archive this machine installs from, read from its own sources
# (one-line or deb822 form): the entry for the release itself, not its
# updates or security suites.
debian_archive() {
  local f
  for f in "$apt_dir"/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         {
           types = uris = suites = ""
           for (i = 1; i <= NF; i++) {
             if ($i ~ /^Types:/)  types = $i
             if ($i ~ /^URIs:/)   uris = $i
             if ($i ~ /^Suites:/) suites = $i
           }
           if (types ~ /[[:space:]]deb([[:space:]]|$)/ && (suites " ") ~ /[[:space:]]bookworm[[:space:]]/) {
             sub(/^URIs:[[:space:]]*/, "", uris); split(uris, u, /[[:space:]]+/); print u[1]; exit
           }
         }' "$f"
  done
  if [ -f "$apt_dir/sources.list" ]; then
    sed -nE 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+)[[:space:]]+bookworm[[:space:]].*/\2/p' \
      "$apt_dir/sources.list"
  fi
}

# libjpeg is cross-built from Debian's source package: the archive's
# source index is added once.
changed=0
src_list=$apt_dir/sources.list.d/quillory-src.sources
if [ ! -f "$src_list" ]; then
  archive=$(debian_archive | head -n 1)
  if [ -z "$archive" ]; then
    echo "install-deps: no Debian bookworm archive found in $apt_dir; cannot add its source index" >&2
    exit 1
  fi
  mkdir -p "$(dirname "$src_list")"
  cat > "$src_list" <<SRC
Types: deb-src
URIs: $archive
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  changed=1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  changed=1
fi

mapfile -t need64 < <(missing "${packages64[@]}")
mapfile -t need32 < <(missing "${packages32[@]}")
[ ${#need64[@]} -gt 0 ] || [ ${#need32[@]} -gt 0 ] || [ $changed = 1 ] || exit 0

# A failed index is said, and tried once more; what it lacks shows in the
# installs below, which are what decide.
update_log=$(mktemp)
trap 'rm -f "$update_log"' EXIT
if ! apt-get update -qq >"$update_log" 2>&1; then
  if ! apt-get update -qq >"$update_log" 2>&1; then
    echo "install-deps: some package indexes could not be updated; going on with what was fetched:" >&2
    grep -E '^(E|W):' "$update_log" | head -n 3 | sed 's/^/  /' >&2 || true
  fi
fi

# Step 1: what the 64-bit suite and the native checks need.
if [ ${#need64[@]} -gt 0 ]; then
  if ! apt-get install -y -qq --no-install-recommends "${need64[@]}" >"$update_log" 2>&1; then
    grep -E '^(E|W):' "$update_log" | head -n 5 | sed 's/^/  /' >&2 || true
    mapfile -t still < <(missing "${need64[@]}")
    echo "install-deps: FAILED to install what the 64-bit build and its tests need: ${still[*]:-${need64[*]}}" >&2
    exit 1
  fi
fi

# Step 2: the 32-bit Wine, optional.
if [ ${#need32[@]} -gt 0 ]; then
  if ! apt-get install -y -qq --no-install-recommends "${need32[@]}" >"$update_log" 2>&1; then
    why=$(grep -E '^E:' "$update_log" | head -n 1 | sed 's/^E: *//')
    echo "install-deps: the 32-bit Wine (${need32[*]}) could not be installed (${why:-apt-get failed}); only the 64-bit suite can run"
  fi
fi
exit 0
