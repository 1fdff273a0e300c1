# Sourced by the end-to-end test and scripts/screenshot: a private Xvfb
# display and a Wine prefix that uses it. Call xsession_start PREFIX; it sets
# DISPLAY and the Wine variables and stops everything again on exit.
xsession_start() {
  local prefix=$1 n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  trap xsession_stop EXIT
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine-prefix" "$prefix" x11 || return 1
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p20 </dev/null >/dev/null 2>&1
}

xsession_stop() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  return 0
}
