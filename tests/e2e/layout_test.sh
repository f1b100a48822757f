#!/usr/bin/env bash
# Keys count by their place on the keyboard: on a French layout the key in W's place (it types
# z) walks, and the key labelled W (in Z's place) does nothing.
source "$(dirname "$0")/common.sh" "$1"
start_display
setxkbmap fr
xmodmap -pk | grep -Eq '^\s+25\s+0x007a ' || fail "the French layout did not load"
start_demo

# The particles alone change some 30000 pixels in a second; walking, far more.
shot start
xdotool keydown --window "$WINDOW" w
sleep 1
xdotool keyup --window "$WINDOW" w
shot still
still=$(differs start still)
[ "$still" -lt 80000 ] || fail "the key labelled W (in Z's place) changed the view ($still)"
walked() { shot now; [ "$(differs start now)" -gt 150000 ]; }
xdotool keydown --window "$WINDOW" z
wait_for 30 walked || fail "the key in W's place did not walk"
xdotool keyup --window "$WINDOW" z
echo "ok"
