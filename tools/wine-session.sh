# Sourced by the scripts that run programs under Wine: starts Xvfb (unless
# a display is wanted and present), prepares the Wine prefix in the build
# folder and keeps one wineserver for the whole session. Both end with the
# calling shell.
wine_session_start() {
  local build=$1 use_display=${2:-}
  WINE_SESSION_XVFB=""
  export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=-all
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
    wineboot -i >/dev/null 2>&1 || true
  else
    wineboot >/dev/null 2>&1 || true
  fi
  # Under our own Xvfb there is no window manager: windows are not left to
  # one, so hiding and destroying them waits for nobody. On a person's
  # display the window manager takes them again.
  local managed=no
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && managed=yes
  if [ -n "${WINE_SESSION_XVFB:-}" ] && [ $managed = no ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  elif [ -z "${WINE_SESSION_XVFB:-}" ] && [ $managed = yes ]; then
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  fi
}

wine_session_end() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null || true
}
