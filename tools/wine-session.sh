# Sourced by the scripts that run programs under Wine: starts Xvfb (unless
# a display is wanted and present), prepares the one 64-bit Wine prefix in
# build/wineprefix (it runs 32-bit programs too where the machine can) and
# keeps one wineserver for the whole session. Both end with the calling shell.
#
# WINE64 and WINE32 are the loaders of the two kinds of program; some
# machines start no 32-bit program at all, so wine32_usable asks by starting one.
WINE64=/usr/lib/wine/wine64
WINE32=${QUILLORY_WINE32:-/usr/lib/wine/wine}

wine_session_start() {
  local build=$1 use_display=${2:-}
  WINE_SESSION_XVFB=""
  export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=-all
  # A crashing program ends at once instead of waiting in the debugger.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  if [ -z "$use_display" ] || [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and tells which on the fd given.
    local fifo n
    fifo=$(mktemp -u) && mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    read -r n <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$n"
  fi
  trap wine_session_end EXIT
  mkdir -p "$WINEPREFIX"
  # One server for the whole session; a server still running from before
  # serves as well.
  wineserver -p 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE64" wineboot.exe -i >/dev/null 2>&1 || true
  else
    "$WINE64" wineboot.exe >/dev/null 2>&1 || true
  fi
  grep -q '"Arial Narrow"="Liberation Sans Narrow"' "$WINEPREFIX/user.reg" 2>/dev/null || wine_prefix_fonts
  # Under our own Xvfb there is no window manager: windows are not left to
  # one, so hiding and destroying them waits for nobody. On a person's
  # display the window manager takes them again.
  local managed=no
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && managed=yes
  if [ -n "${WINE_SESSION_XVFB:-}" ] && [ $managed = no ]; then
    wine_reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
  elif [ -z "${WINE_SESSION_XVFB:-}" ] && [ $managed = yes ]; then
    wine_reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f
  fi
}

wine_reg() {
  "$WINE64" reg.exe "$@" >/dev/null 2>&1 || true
}

# Menus name Windows' faces; Debian's metric-compatible Liberation faces
# stand in for them, so text keeps the size its author saw.
wine_prefix_fonts() {
  local key='HKCU\Software\Wine\Fonts\Replacements'
  wine_reg add "$key" /v 'Arial' /d 'Liberation Sans' /f
  wine_reg add "$key" /v 'Arial Black' /d 'Liberation Sans' /f
  wine_reg add "$key" /v 'Arial Narrow' /d 'Liberation Sans Narrow' /f
  wine_reg add "$key" /v 'Helvetica' /d 'Liberation Sans' /f
  wine_reg add "$key" /v 'Times New Roman' /d 'Liberation Serif' /f
  wine_reg add "$key" /v 'Courier New' /d 'Liberation Mono' /f
}

# Why the 32-bit suite cannot run here; nothing when it can (asked by
# starting a 32-bit program: the kernel may refuse any).
wine32_unusable_reason() {
  if [ ! -x "$WINE32" ]; then
    echo "the 32-bit Wine is not installed"
  elif ! timeout 120 "$WINE32" cmd.exe /c exit 0 >/dev/null 2>&1; then
    echo "this machine starts no 32-bit program"
  fi
}

wine32_usable() {
  [ -z "$(wine32_unusable_reason)" ]
}

# The loader for a program built for the given architecture.
wine_loader() {
  case $1 in
    i686) echo "$WINE32" ;;
    *) echo "$WINE64" ;;
  esac
}

wine_session_end() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null || true
}
