#!/usr/bin/env bash
# The set-up against a package mirror in the middle of a sync. Stand-ins for
# apt-get, dpkg and dpkg-query come first on PATH: every index update fails
# as the mirror did (exit 100), the 32-bit Wine cannot be installed ("held
# broken packages"), and each case says which packages are missing from the
# machine and which the mirror lacks.
set -u
script=$(cd "$(dirname "$0")" && pwd)/install-deps.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0

mkdir -p "$scratch/bin"
cat > "$scratch/bin/dpkg-query" <<'SH'
#!/usr/bin/env bash
# dpkg-query -W -f=FORMAT PACKAGE
pkg=${@: -1}
grep -qx "$pkg" "$STATE/missing" && exit 1
echo "install ok installed"
SH
cat > "$scratch/bin/dpkg" <<'SH'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$STATE/archs" ;;
  --add-architecture) echo "$2" >> "$STATE/archs" ;;
  *) exit 2 ;;
esac
SH
cat > "$scratch/bin/apt-get" <<'SH'
#!/usr/bin/env bash
echo "$*" >> "$STATE/calls"
case " $* " in
  *" update "*)
    echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
  *" install "*)
    for p in "$@"; do
      if [ "$p" = wine32 ]; then
        echo "E: Unable to correct problems, you have held broken packages."; exit 100
      fi
      if grep -qx -- "$p" "$STATE/absent"; then
        echo "E: Unable to locate package $p"; exit 100
      fi
    done
    for p in "$@"; do sed -i "/^$p\$/d" "$STATE/missing"; done ;;
esac
SH
chmod +x "$scratch/bin/"*

# Runs the set-up in a fresh state: $1 the packages missing from the
# machine, $2 those the mirror lacks, $3 the form of the sources (deb822 or
# one-line), $4 the foreign architectures already added.
run_setup() {
  export STATE=$scratch/state
  rm -rf "$STATE" && mkdir -p "$STATE/apt/sources.list.d"
  printf '%s\n' $1 > "$STATE/missing"
  printf '%s\n' $2 > "$STATE/absent"
  printf '%s' "${4:-}" > "$STATE/archs"
  : > "$STATE/calls"
  if [ "${3:-deb822}" = deb822 ]; then
    cat > "$STATE/apt/sources.list.d/debian.sources" <<'SRC'
Types: deb
URIs: http://mirror.invalid/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: http://mirror.invalid/debian
Suites: bookworm bookworm-updates
Components: main
SRC
  else
    echo "deb [arch=amd64] http://mirror.invalid/debian bookworm main" > "$STATE/apt/sources.list"
  fi
  QUILLORY_APT_DIR=$STATE/apt PATH=$scratch/bin:$PATH "$script" >"$STATE/out" 2>&1
  status=$?
}

check() {
  local what=$1; shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    sed 's/^/    /' "$STATE/out"
  fi
}
said() { grep -q -- "$1" "$STATE/out"; }
src_uri() { grep -qx "URIs: http://mirror.invalid/debian" "$STATE/apt/sources.list.d/quillory-src.sources"; }

# The 64-bit packages are there; the mirror lacks the 32-bit security index.
run_setup "wine32" ""
check "finishes when the 64-bit packages are present" [ $status -eq 0 ]
check "says in one line that the 32-bit Wine could not be installed, and why" \
  [ "$(grep -c '32-bit Wine' "$STATE/out")" -eq 1 ]
check "the reason is apt's own" said "held broken packages"
check "a failed update is tried once more" [ "$(grep -c '^update' "$STATE/calls")" -eq 2 ]
check "the source index names the machine's own archive" src_uri
check "the 32-bit architecture is added" grep -qx i386 "$STATE/archs"

# Missing 64-bit packages are installed in spite of the failed update.
run_setup "wine32 clang xvfb" ""
check "installs the missing 64-bit packages" [ $status -eq 0 ]
check "the 64-bit packages are installed" bash -c "! grep -qxE 'clang|xvfb' '$STATE/missing'"

# A 64-bit package the mirror lacks ends the set-up and is named.
run_setup "wine32 xvfb" "xvfb"
check "fails when a 64-bit package cannot be installed" [ $status -ne 0 ]
check "names what could not be installed" said "FAILED to install.*xvfb"

# One-line sources give the archive as well.
run_setup "wine32" "" one-line
check "reads the archive from one-line sources" src_uri

# Run again once all is there: no package client runs at all.
run_setup "" ""
: > "$STATE/calls"
QUILLORY_APT_DIR=$STATE/apt PATH=$scratch/bin:$PATH "$script" >"$STATE/out" 2>&1
status=$?
check "a second run succeeds" [ $status -eq 0 ]
check "a second run with everything there asks the mirror nothing" [ ! -s "$STATE/calls" ]

echo "install-deps: $passed passed, $failed failed"
[ $failed -eq 0 ]
