#!/usr/bin/env bash
# The real Baudix.exe under Xvfb, driven with real X input: typing digits,
# Backspace and Tab, a model typed into the list, the about page (F1: Wine
# draws no caption help button) and its OK button, then closing with Alt+F4. Checked through screenshots and
# the exit code. Usage: baudix_e2e.sh BAUDIX.EXE PREFIX [WINDOW-MANAGER ARGS...]
# With a window manager the window must also be in its list and active, and
# take the keys without a click.
set -u
exe=$1 prefix=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xsession.sh"
xsession_start "$prefix" "$@" || { echo "no X session"; exit 1; }
shots=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The status bar's text, read from the window by a program of our own.
x86_64-w64-mingw32-gcc -O2 -s -o "$shots/status_text.exe" "$here/status_text.c" ||
  { echo "FAIL: status_text.exe not built"; exit 1; }
status_text() { wine "$shots/status_text.exe" 2>/dev/null | tr -d '\r'; }

wine "$exe" >/dev/null 2>&1 &
APP_PID=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Baudix - ' | head -1)
[ -n "$window" ] || { echo "FAIL: no window"; exit 1; }
sleep 1
managed=$([ -n "${WM_PID:-}" ] && echo yes)
if [ -n "$managed" ]; then
  id=$(printf '0x%x' "$window")
  xprop -root _NET_CLIENT_LIST | grep -qw "$id" || fail "the window manager does not list the window"
  active() { xprop -root _NET_ACTIVE_WINDOW | grep -qw "$id"; }
  xsession_await active || fail "the window is not the active window"
fi
# The client area sits inside a border of equal width left, right and below
# (none where the window manager draws the frame around the X window). The
# root position comes from xwininfo: xdotool's is off for a window inside a
# window manager's frame.
eval "$(xwininfo -id "$window" | awk -F: '/Absolute upper-left X/ {print "X=" $2 + 0}
  /Absolute upper-left Y/ {print "Y=" $2 + 0} /Width/ {print "WIDTH=" $2 + 0}
  /Height/ {print "HEIGHT=" $2 + 0}')"
client_x=$((X + (WIDTH - 457) / 2))
client_y=$((Y + HEIGHT - 479 - (WIDTH - 457) / 2))

shot() { import -window root "$shots/$1.png"; }
# Crops the client rectangle x y w h from screenshot $5 and hands it to
# convert with the remaining arguments.
region() {
  convert "$shots/$5.png" -crop "$3x$4+$((client_x + $1))+$((client_y + $2))" +repage "${@:6}"
}
# How many pixels of colour $6 (#RRGGBB) the rectangle holds.
count() {
  region "${@:1:5}" -format %c histogram:info:- | grep -i "$6" | awk -F: '{s += $1} END {print s + 0}'
}
# The rectangle's mean brightness in percent.
brightness() { region "$@" -colorspace Gray -format '%[fx:int(100 * mean)]' info:; }
click() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1; sleep 0.3; }
keys() { xdotool key --delay 30 "$@"; sleep 0.4; }

# Row 1, column 1 of the grid (UBBR at U2X = 0), and the rate of row 1.
ubbr1=(160 133 70 14)
rate1=(16 133 144 14)

shot start
[ "$(count "${ubbr1[@]}" start '#000000')" -gt 0 ] || fail "250000 is not shown as an exact match"
[ "$(count "${rate1[@]}" start '#000080')" -gt 0 ] || fail "the user's rate is not navy"

# The baud-rate field: replace 250000 by 9600, which is not exact at 16 MHz.
# A managed window has the keyboard at once: Tab leads from the frequency
# field there.
if [ -n "$managed" ]; then keys Tab; else click 210 66; fi
keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 30 9600
sleep 0.4
shot typed
[ "$(count "${ubbr1[@]}" typed '#000000')" -eq 0 ] || fail "9600 still shown as exact"
[ "$(count "${rate1[@]}" typed '#000080')" -gt 0 ] || fail "the rate of row 1 vanished"
if cmp -s <(region 16 132 425 20 start rgb:-) <(region 16 132 425 20 typed rgb:-); then
  fail "row 1 did not change after typing"
fi

# Tab goes from the baud rate over the list to the frequency field, passing
# the grid by: a Backspace there changes the highest rate (row 18).
keys Tab Tab End BackSpace
shot tabbed
if cmp -s <(region 16 387 425 15 typed rgb:-) <(region 16 387 425 15 tabbed rgb:-); then
  fail "two Tabs did not lead to the frequency field"
fi

# The model list, one Shift+Tab back from the frequency field: typing a
# name selects that model, and the table, its captions and the status bar
# follow it.
[ "$(status_text)" = ATmega128 ] || fail "the status bar shows \"$(status_text)\" at the start"
keys shift+Tab
xdotool type --delay 30 ATxmega128A4U
sleep 0.4
shot model
if cmp -s <(region 8 80 441 320 tabbed rgb:-) <(region 8 80 441 320 model rgb:-); then
  fail "the table did not change for the ATxmega128A4U"
fi
[ "$(status_text)" = ATxmega128A4U ] || fail "the status bar shows \"$(status_text)\", not ATxmega128A4U"

# The about page: the banner shows; OK brings the main page back.
keys F1
shot about
# The banner's blue is far darker than the table that lies there on the
# main page.
[ "$(brightness 30 140 100 20 about)" -lt 80 ] || fail "about page not shown (no banner)"
click 228 431
shot back
[ "$(count "${rate1[@]}" back '#000080')" -gt 0 ] || fail "OK did not bring the main page back"

xdotool key alt+F4
for _ in $(seq 1 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
wait "$APP_PID"
status=$?
APP_PID=
[ "$status" -eq 0 ] || fail "exit code $status after closing"

rm -rf "$shots"
[ "$failures" -eq 0 ] && echo "end-to-end: all checks passed"
exit "$failures"
