# shellcheck shell=bash
# Wine for tests and scripts: source this file, then
#
#   wine_ci_up [build-dir]  start Xvfb and a persistent wineserver on our own
#                           prefix; with a build dir that holds keepdesk.exe,
#                           also hold the virtual desktop open (GUI tests then
#                           start in 0.2 s instead of 1.5 s each)
#   wine_ci_down            stop all of it (safe to call twice, or without up)
#
# The prefix is build/wineprefix unless WINEPREFIX is set.  It is prepared
# once: Wine's virtual desktop (so that windows get frames and exit codes
# come through), silent audio, Wine's own fonts (Marlett draws the MDI
# caption buttons).  Crash dialogs are switched off (winedbg.exe=d) so that
# a crashing program fails instead of hanging or "passing".
#
# Knobs: LC_WINE_KEEP_DISPLAY=1 uses $DISPLAY instead of starting Xvfb;
# LC_WINE_SCREEN (default 1024x768x24) sizes Xvfb and the desktop.
# One session per prefix: wine_ci_up stops whatever server still runs on the
# prefix, so parallel sessions need their own WINEPREFIX.
# Always /usr/lib/wine/wine64: /usr/bin/wine picks the 32-bit loader here.

LC_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${WINEPREFIX:=$LC_ROOT/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
WINE64=/usr/lib/wine/wine64
WS64=/usr/lib/wine/wineserver64
: "${LC_WINE_SCREEN:=1024x768x24}"
LC_WINE_PREP_VERSION=1

_wine_log() { printf '[wine] %s\n' "$*" >&2; }

# Starts Xvfb on a free display number (it picks one and tells us through
# file descriptor 3) and exports DISPLAY.
_wine_xvfb_up() {
  if [ -n "${LC_XVFB_PID:-}" ] && kill -0 "$LC_XVFB_PID" 2>/dev/null; then return 0; fi
  local f; f=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$LC_WINE_SCREEN" -nolisten tcp 3>"$f" </dev/null >/dev/null 2>&1 &
  # Shell variables, not exported: a script started from this shell brings
  # up (and tears down) its own session.
  LC_XVFB_PID=$!
  local _
  for _ in $(seq 100); do
    [ -s "$f" ] && break
    kill -0 "$LC_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$f" ]; then
    rm -f "$f"
    _wine_log "Xvfb did not start"
    kill "$LC_XVFB_PID" 2>/dev/null; unset LC_XVFB_PID
    return 1
  fi
  LC_SAVED_DISPLAY=${DISPLAY-}
  DISPLAY=":$(head -n1 "$f")"
  export DISPLAY
  rm -f "$f"
}

# First use of a prefix: create it and apply our settings.  A marker file
# records that this was done.
_wine_prepare_prefix() {
  local marker="$WINEPREFIX/.lumacast-prepared"
  [ "$(cat "$marker" 2>/dev/null)" = "$LC_WINE_PREP_VERSION" ] && return 0
  _wine_log "preparing prefix ${WINEPREFIX#"$LC_ROOT"/}"
  "$WINE64" wineboot --init </dev/null >/dev/null 2>&1
  local size=${LC_WINE_SCREEN%x*}
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="%s"\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Audio"=""\n' \
    "$size" >"$WINEPREFIX/drive_c/lumacast-ci.reg"
  "$WINE64" regedit /S 'C:\lumacast-ci.reg' </dev/null >/dev/null 2>&1 || return 1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  # The registry reaches user.reg only when the server ends.
  "$WS64" -k 2>/dev/null; "$WS64" -w 2>/dev/null
  echo "$LC_WINE_PREP_VERSION" >"$marker"
}

# Starts keepdesk and waits until it holds the desktop (see keepdesk.c for
# why the wait matters).
_wine_keepdesk_up() {
  local ready; ready=$(mktemp -u "${TMPDIR:-/tmp}/lc-keepdesk.XXXXXX")
  local winpath="Z:${ready//\//\\}"
  "$WINE64" "$1" "$winpath" </dev/null >/dev/null 2>&1 &
  LC_KEEPDESK_PID=$!
  local _
  for _ in $(seq 200); do
    [ -e "$ready" ] && { rm -f "$ready"; return 0; }
    kill -0 "$LC_KEEPDESK_PID" 2>/dev/null || break
    sleep 0.05
  done
  _wine_log "keepdesk did not take the desktop"
  return 1
}

wine_ci_up() {
  [ "${LC_WINE_UP:-0}" = 1 ] && return 0
  if [ ! -x "$WINE64" ] || [ ! -x "$WS64" ]; then
    _wine_log "wine64 not found (run tools/setup.sh)"; return 1
  fi
  if [ "${LC_WINE_KEEP_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    :
  else
    _wine_xvfb_up || return 1
  fi
  mkdir -p "$WINEPREFIX"
  # A server left over from an interrupted run would keep stale pipes.
  "$WS64" -k 2>/dev/null; "$WS64" -w 2>/dev/null
  _wine_prepare_prefix || { _wine_log "prefix preparation failed"; wine_ci_down; return 1; }
  "$WS64" -p </dev/null >/dev/null 2>&1
  # Wine's services (explorer, services.exe, ...) inherit the standard
  # handles of the first wine process; give them /dev/null, not ctest's pipes.
  "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
  local keeper
  for keeper in ${1:+"$1/shell/keepdesk.exe" "$1/bin/keepdesk.exe"}; do
    [ -f "$keeper" ] || continue
    _wine_keepdesk_up "$keeper" || { wine_ci_down; return 1; }
    break
  done
  LC_WINE_UP=1
  _wine_log "up: DISPLAY=$DISPLAY prefix=${WINEPREFIX#"$LC_ROOT"/}"
}

wine_ci_down() {
  "$WS64" -k 2>/dev/null; "$WS64" -w 2>/dev/null
  if [ -n "${LC_KEEPDESK_PID:-}" ]; then
    kill "$LC_KEEPDESK_PID" 2>/dev/null
    wait "$LC_KEEPDESK_PID" 2>/dev/null
    unset LC_KEEPDESK_PID
  fi
  if [ -n "${LC_XVFB_PID:-}" ]; then
    kill "$LC_XVFB_PID" 2>/dev/null
    wait "$LC_XVFB_PID" 2>/dev/null
    unset LC_XVFB_PID
    if [ -n "${LC_SAVED_DISPLAY:-}" ]; then export DISPLAY=$LC_SAVED_DISPLAY; else unset DISPLAY; fi
  fi
  LC_WINE_UP=0
  return 0
}
