#!/usr/bin/env bash
# The real Baudix.exe under Xvfb, driven with real X input: typing digits,
# Backspace and Tab, a model typed into the list, copying the table
# (Ctrl+Shift+C, the grid's menu), the about page (F1: Wine draws no caption
# help button) and its OK button, then closing with Alt+F4. Checked through
# screenshots, the exit code and a screen reader in a process of its own
# ($BAUDIX_READER, tests/e2e/msaa_reader.cpp), which hears the typing and
# reads every control, cell and the clipboard.
# Usage: baudix_e2e.sh BAUDIX.EXE PREFIX [WINDOW-MANAGER ARGS...]
# With a window manager the window must also be in its list and active, and
# take the keys without a click.
set -u
exe=$1 prefix=$2
shift 2
reader=${BAUDIX_READER:?names no screen reader}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xsession.sh"
xsession_start "$prefix" "$@" || { echo "no X session"; exit 1; }
shots=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The status bar's text, as the reader reads its first panel.
status_text() { wine "$reader" tree 2>/dev/null | awk -F'|' '/^STATUSBAR\|/ { getline; print $2; exit }'; }

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
read_tree() { wine "$reader" tree >"$shots/$1.txt" 2>/dev/null || fail "the reader found no window"; }
# The reader's line for one element: role|name|value|description|action|states
# (the focus is left out: without a window manager the X focus wanders).
reads() { grep -qF -- "$2" "$shots/$1.txt" || fail "the reader does not read '$2' ($1)"; }
# The clipboard's text has CR LF between rows.
clipboard() { wine "$reader" clipboard 2>/dev/null | tr -d '\r'; }

# Row 1, column 1 of the grid (UBBR at U2X = 0), and the rate of row 1.
ubbr1=(160 133 70 14)
rate1=(16 133 144 14)

shot start
[ "$(count "${ubbr1[@]}" start '#000000')" -gt 0 ] || fail "250000 is not shown as an exact match"
[ "$(count "${rate1[@]}" start '#000080')" -gt 0 ] || fail "the user's rate is not navy"

# The baud-rate field: replace 250000 by 9600, which is not exact at 16 MHz,
# while the reader listens. A managed window has the keyboard at once: Tab
# leads from the frequency field there.
stop=$shots/stop-listening
: >"$shots/heard.txt"
wine "$reader" watch "$(winepath -w "$stop")" >"$shots/heard.txt" 2>/dev/null &
LISTENER=$!
xsession_await grep -q ready "$shots/heard.txt" || fail "the reader's hook is not set"
if [ -n "$managed" ]; then keys Tab; else click 210 66; fi
keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 30 9600
sleep 0.4
shot typed
touch "$stop"
wait "$LISTENER"
# One value change and one table refresh per keystroke that changed the
# text; the reader asks for the value when the event reaches it.
[ "$(grep -c '^value|Baudrate \[bps\]|' "$shots/heard.txt")" -ge 10 ] ||
  fail "the reader did not hear each keystroke"
grep -qxF 'value|Baudrate [bps]|9600' "$shots/heard.txt" || fail "the reader did not hear 9600"
[ "$(grep -cxF 'reorder|Ergebnistabelle' "$shots/heard.txt")" -ge 10 ] ||
  fail "the reader was not told of each new table"
read_tree typed
reads typed 'TEXT|Frequenz [Hz]|16000000|||'
reads typed 'TEXT|Baudrate [bps]|9600|||'
reads typed 'COMBOBOX|Mikrocontroller|ATmega128|||'
reads typed 'TABLE|Ergebnistabelle||||'
reads typed '  COLUMNHEADER|U2X = 0|UBBR|||'
reads typed '  CELL|9600, U2X = 0, UBBR|103|||'
reads typed '  CELL|250000, U2X = 1, ERROR|0.00%|exakt||'
reads typed '  STATICTEXT|Berechnung des Registerinhaltes UBBR für eine gegebene Frequenz und Baudrate||||'
reads typed 'STATICTEXT|U2X = 1||||'
reads typed '  STATICTEXT|ATmega128||||'
reads typed '  PUSHBUTTON|OK|||Drücken|invisible'
[ "$(grep -c '^  \(CELL\|COLUMNHEADER\)|' "$shots/typed.txt")" -eq 95 ] || fail "the table has not 95 cells"

# Ctrl+Shift+C copies the table, header first, in both clipboard formats.
keys ctrl+shift+c
clipboard >"$shots/copied.txt"
[ "$(head -1 "$shots/copied.txt")" = "$(printf 'Baudrate [bps]\tUBBR\tERROR\tUBBR\tERROR')" ] ||
  fail "the copy does not start with the header row"
grep -qxF "$(printf '9600\t103\t0.16%%\t207\t0.16%%')" "$shots/copied.txt" || fail "row 1 is not copied"
[ "$(grep -c "$(printf '\t')" "$shots/copied.txt")" -eq 19 ] || fail "the copy has not 19 rows"
grep -qxF 'ansi same' "$shots/copied.txt" || fail "the two clipboard formats differ"
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

# The grid's context menu copies the new table (1600000 Hz reach 200000 bps,
# at double speed with BSEL 0).
xdotool mousemove $((client_x + 200)) $((client_y + 200)) click 3
sleep 0.4
keys Down Return
clipboard | grep -qxF "$(printf '200000 MAX\t-\t-\t0/0\t0.00%%')" || fail "the menu did not copy the table"

# The about page: the banner shows; OK brings the main page back.
keys F1
shot about
# The banner's blue is far darker than the table that lies there on the
# main page.
[ "$(brightness 30 140 100 20 about)" -lt 80 ] || fail "about page not shown (no banner)"
read_tree about
reads about '  GRAPHIC|Baudix||||'
reads about '  STATICTEXT|Dieses Programm wird euch zur Verfügung gestellt von||||'
grep -qxF '  PUSHBUTTON|OK|||Drücken|' "$shots/about.txt" || fail "the reader finds OK hidden"
grep -q '^  STATICTEXT|Rechtlicher Hinweis:  Der Autor dieses Programms haftet nicht für Schäden' \
  "$shots/about.txt" || fail "the reader does not read the legal notice"
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
