#!/usr/bin/env bash
# Keys count by their place on the keyboard: on a French layout the key labelled W (in Z's
# place) does nothing, and the key in W's place (it types z) walks.
source "$(dirname "$0")/common.sh" "$1"
start_display
setxkbmap fr
xmodmap -pk | grep -Eq '^\s+25\s+0x007a ' || fail "the French layout did not load"
start_demo
# The particles alone change up to some 40000 pixels, a step of a walk some 20000 more.
still() { mv "$WORK/$1.png" "$WORK/before.png" && shot "$1" && [ "$(differs before "$1")" -lt 60000 ]; }
walked_from() { shot now; [ "$(differs "$1" now)" -gt 150000 ]; }

# Once the opening zoom is over, the labelled W held with S, which a W that walked would cancel.
shot start
wait_for 60 still start || fail "the view did not come to rest"
xdotool keydown --window "$WINDOW" --delay 0 w s
wait_for 60 walked_from start || fail "the key labelled W walked, or S did not"
xdotool keyup --window "$WINDOW" --delay 0 w s
shot back
xdotool keydown --window "$WINDOW" z
wait_for 60 walked_from back || fail "the key in W's place did not walk"
echo "ok"
