#!/usr/bin/env bash
# Shows that tools/check-owners.sh finds a release by hand in every shape it
# can take and lets alone what only looks like one: each case is a small
# tree of its own that the check must fail or pass.
set -euo pipefail
check=$(cd "$(dirname "$0")" && pwd)/check-owners.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
# expect fail|pass NAME FILE TEXT: a tree holding FILE with TEXT (and a clean
# source beside it) must make the check fail or pass.
expect() {
  local want=$1 name=$2 file=$3 text=$4 tree got
  tree="$work/$name"
  mkdir -p "$tree/$(dirname "$file")"
  printf 'int Clean() { return 0; }\n' > "$tree/clean.cpp"
  printf '%s\n' "$text" > "$tree/$file"
  if "$check" "$tree" > "$tree.out" 2>&1; then got=pass; else got=fail; fi
  if [[ $got != "$want" ]]; then
    echo "check-owners-test: $name: expected the check to $want, it did $got" >&2
    sed 's/^/    /' "$tree.out" >&2
    failures=$((failures + 1))
  elif [[ $want == fail ]] && ! grep -q "^$file:[0-9]*: " "$tree.out"; then
    echo "check-owners-test: $name: the failure does not name $file:line" >&2
    failures=$((failures + 1))
  fi
}

# Releases by hand, in every disguise.
expect fail plain-call a.cpp 'void F(HDC dc) { DeleteDC(dc); }'
expect fail other-release a.cpp 'void F(HGLOBAL h) { GlobalFree(h); }'
expect fail window a.cpp 'void F(HWND w) { ::DestroyWindow(w); }'
expect fail macro-alias a.h '#define GIVE_BACK CloseHandle
void F(HANDLE h) { GIVE_BACK(h); }'
expect fail deleter-type a.h 'using TCloser = decltype(&CloseHandle);'
expect fail function-pointer a.cpp 'auto* release = &ReleaseDC;'
expect fail split-call a.cpp 'void F(HGDIOBJ o) {
    DeleteObject
        (o);
}'
expect fail comment-before-parenthesis a.cpp 'void F(HGDIOBJ o) { DeleteObject /* why */ (o); }'
expect fail after-url-string a.cpp 'const char* u = "http://example"; void F(HKEY k) { RegCloseKey(k); }'
expect fail after-closed-comment a.cpp '/* note */ void F(HDC dc) { RestoreDC(dc, -1); }'
expect fail continued-line a.cpp '#define RELEASE(h) \
    CloseHandle(h)'
expect fail inc-file a.inc 'FindClose(search);'
expect fail inl-file a.inl 'CoTaskMemFree(block);'
expect fail after-char-literal a.cpp "char c = '\"'; void F(HANDLE h) { CloseHandle(h); }"
expect fail after-digit-separator a.cpp "int n = 1'000; void F(HANDLE h) { CloseHandle(h); }"
expect fail after-raw-string a.cpp 'auto t = R"x(a ")" b)x"; void F(HANDLE h) { CloseHandle(h); }'
expect fail allowed-file-other-call classlib/gui/canvas.cpp 'void F(HDC dc) { DeleteDC(dc); }'

# Names that only look like releases.
expect pass line-comment a.cpp '// CloseHandle(h) is done by the owner
int G() { return 1; }'
expect pass block-comment a.cpp '/* DeleteDC(dc);
   DestroyWindow(w); */ int G() { return 1; }'
expect pass continued-comment a.cpp '// the owner calls \
   CloseHandle(h)
int G() { return 1; }'
expect pass string a.cpp 'const char* n = "CloseHandle(h)";'
expect pass escaped-string a.cpp 'const char* n = "say \"DeleteDC(dc)\"";'
expect pass raw-string a.cpp 'const char* n = R"(DeleteDC(dc) ")" )";'
expect pass longer-name a.cpp 'void MyDeleteDC(); void F() { MyDeleteDC(); DeleteDCLater(); }'
expect pass member-name a.cpp 'struct S { int CloseHandleCount; };'
expect pass not-a-source a.txt 'CloseHandle(h);'

# The owners' own files, and a file allowed one call only.
mkdir -p "$work/owners/classlib/gui" "$work/owners/classlib/core"
printf 'inline void R(HDC d) { DeleteDC(d); }\n' > "$work/owners/classlib/gui/scoped_win32.h"
printf 'inline void C(HANDLE h) { CloseHandle(h); }\n' > "$work/owners/classlib/core/kernel_handle.h"
printf 'void S(HDC d, HGDIOBJ o) { SelectObject(d, o); }\n' > "$work/owners/classlib/gui/canvas.cpp"
if ! "$check" "$work/owners" > "$work/owners.out" 2>&1; then
  echo "check-owners-test: the owners' own files were flagged" >&2
  sed 's/^/    /' "$work/owners.out" >&2
  failures=$((failures + 1))
fi

# A source that cannot be read fails the check rather than passing it.
mkdir -p "$work/unreadable"
printf 'int Clean() { return 0; }\n' > "$work/unreadable/clean.cpp"
ln -s missing.cpp "$work/unreadable/gone.cpp"
if "$check" "$work/unreadable" > "$work/unreadable.out" 2>&1; then
  echo "check-owners-test: an unreadable source let the check pass" >&2
  failures=$((failures + 1))
fi

if [[ $failures -ne 0 ]]; then
  echo "Resource check test FAILED: $failures case(s)" >&2
  exit 1
fi
echo "Resource check test passed: every planted release found, every look-alike let alone"
