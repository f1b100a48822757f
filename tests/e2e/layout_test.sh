#!/usr/bin/env bash
# Keys count by their place on the keyboard: on a French layout the key labelled W (in Z's
# place) does nothing, and the key in W's place (it types z) walks.
source "$(dirname "$0")/common.sh" "$1"
start_display
setxkbmap fr
xmodmap -pk | grep -Eq '^\s+25\s+0x007a ' || fail "the French layout did not load"
start_demo
shot start
xdotool keydown --window "$WINDOW" w && sleep 1 && xdotool keyup --window "$WINDOW" w
shot still
# The particles alone change some 30000 pixels in a second; walking, far more.
[ "$(differs start still)" -lt 80000 ] || fail "the key labelled W changed the view"
walked() { shot now; [ "$(differs start now)" -gt 150000 ]; }
xdotool keydown --window "$WINDOW" z
wait_for 30 walked || fail "the key in W's place did not walk"
echo "ok"
