#!/usr/bin/env bash
# Win32 resources are held by the scoped owners (classlib/gui/scoped_win32.h,
# classlib/core/kernel_handle.h), never released by hand. This check fails,
# naming file:line, when a C or C++ source outside the owners' files calls
# DeleteDC, ReleaseDC, DeleteObject, SelectObject, CloseHandle or RegCloseKey,
# except where listed below.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

calls='DeleteDC|ReleaseDC|DeleteObject|SelectObject|CloseHandle|RegCloseKey'

# Each exception: a file, or file:call for one call only, and why.
allowed=(
  # The owners themselves.
  classlib/gui/scoped_win32.h
  classlib/core/kernel_handle.h
  # The canvas owns the selections of its font, pen and brush: it selects
  # them anew whenever they change and puts the context's own objects back
  # when it lets the context go.
  classlib/gui/canvas.cpp:SelectObject
  # The untyped file's close: the handle reaches it as a number through the
  # platform-free file layer, and a failed close is an I/O error its caller
  # must get.
  classlib/core/file_backend_win32.cpp:CloseHandle
  # The file stream owns the handle it opened but keeps it as the number its
  # platform-free base class reads and writes through.
  classlib/core/streams_win32.cpp:CloseHandle
  # Closing a file handle the caller holds as a number is this routine's
  # whole job.
  unicode/wide_sysutils_win32.cpp:CloseHandle
  # Pixwell's exported call that frees a palette it handed out; the library
  # stands alone and uses nothing of the class library.
  pixwell/palette_win32.cpp:DeleteObject
)

is_allowed() {
  local file=$1 call=$2 entry
  for entry in "${allowed[@]}"; do
    [[ "$entry" == "$file" || "$entry" == "$file:$call" ]] && return 0
  done
  return 1
}

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' '*.inl')
else
  mapfile -t files < <(find . \( -name 'build*' -o -name '.git' \) -prune -o \
    -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.inl' \) \
    -print | sed 's|^\./||')
fi

found=0
# Line comments are left out, so a comment may name a call.
while IFS=: read -r file line text; do
  code=${text%%//*}
  while [[ "$code" =~ (^|[^A-Za-z0-9_])($calls)[[:space:]]*\( ]]; do
    call=${BASH_REMATCH[2]}
    if ! is_allowed "$file" "$call"; then
      echo "$file:$line: $call by hand; hold the resource in a scoped owner (classlib/gui/scoped_win32.h, classlib/core/kernel_handle.h)" >&2
      found=1
    fi
    code=${code#*"${BASH_REMATCH[0]}"}
  done
done < <(printf '%s\0' "${files[@]}" | xargs -0 grep -nHE "(^|[^A-Za-z0-9_])($calls)[[:space:]]*\(" -- 2>/dev/null || true)

if [[ $found -ne 0 ]]; then
  echo "Resource check FAILED: Win32 resources released by hand (see above)" >&2
  exit 1
fi
echo "Resource check passed: no Win32 resource released by hand outside its owner"
