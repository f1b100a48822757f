#!/usr/bin/env bash
# The running scene in a real window, driven by real key events: a landscape with blue sky
# above, a view that magnifies after F7 and walks while W is held, and Escape to end it.
source "$(dirname "$0")/common.sh" "$1"
start_display
start_demo
shot start
sky=$(convert "$WORK/start.png" -crop 100x10+0+0 +repage -format "%[fx:mean.b-mean.r]" info:)
awk -v s="$sky" 'BEGIN{exit !(s > 0.1)}' || fail "no blue sky at the top ($sky)"

changed_from() { shot now; [ "$(differs "$1" now)" -gt 50000 ]; }
# F7 first, from the opening view of sky, terrain and fire: a walk may end facing a wall,
# whose even texture changes too little under magnification to tell.
xdotool key --window "$WINDOW" F7
wait_for 30 changed_from start || fail "F7 did not change the view"
shot zoomed
xdotool keydown --window "$WINDOW" w
wait_for 30 changed_from zoomed || fail "holding W did not change the view"
xdotool keyup --window "$WINDOW" w

cp "$WORK/start.png" "${E2E_SCREENSHOT:-/dev/null}" 2>/dev/null
xdotool key --window "$WINDOW" Escape
expect_exit 0
echo "ok"
