# Sourced by the end-to-end test and scripts/screenshot: a private Xvfb
# display, optionally with a window manager, and a Wine prefix that uses it.
# Call xsession_start PREFIX [WINDOW-MANAGER ARGS...]; it sets DISPLAY and the
# Wine variables and stops everything again on exit. The prefix hands its
# windows to the window manager when there is one.
xsession_start() {
  local prefix=$1 cmake number
  shift
  cmake="$(dirname "${BASH_SOURCE[0]}")/../../cmake"
  # Xvfb picks a free display itself and writes its number once it listens,
  # so sessions started side by side never race for one.
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  XVFB_PID=$!
  trap xsession_stop EXIT
  xsession_await test -s "$number" || return 1
  export DISPLAY=":$(cat "$number")"
  rm -f "$number"
  if [ $# -gt 0 ]; then
    "$@" >/dev/null 2>&1 &
    WM_PID=$!
    xsession_await "$cmake/window-manager" || return 1
  fi
  "$cmake/wine-prefix" "$prefix" x11 || return 1
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p20 </dev/null >/dev/null 2>&1
}

# Runs the command every 0.05 s until it succeeds, for up to 10 s.
xsession_await() {
  local i
  for i in $(seq 1 200); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

xsession_stop() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  return 0
}
