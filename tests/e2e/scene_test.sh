#!/usr/bin/env bash
# The running scene in a real window: the landscape is drawn, the fire burns brighter than the
# ground beside it, walking changes the view, F7 narrows the field of view, Escape ends it.
source "$(dirname "$0")/common.sh" "$1"
start_display
start_demo
sleep 3
X=112; Y=84  # the window's corner on a 1024 x 768 screen

shot() { screenshot "$WORK/$1.png"; convert "$WORK/$1.png" -crop 800x600+$X+$Y +repage "$WORK/$1.png"; }
differs() { compare -metric AE -fuzz 10% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1; }

shot start
colours=$(convert "$WORK/start.png" -format "%k" info:)
[ "$colours" -gt 2000 ] || fail "the first frames show only $colours colours"
sky=$(convert "$WORK/start.png" -crop 100x10+0+0 +repage -format "%[fx:mean.b-mean.r]" info:)
awk -v s="$sky" 'BEGIN{exit !(s > 0.1)}' || fail "no blue sky at the top ($sky)"
# The fire stands to the right of the centre, just below the horizon. Flames flicker, so the
# brightest of three moments counts.
bright=0
for moment in start fire2 fire3; do
  if [ "$moment" != start ]; then sleep 0.3; shot "$moment"; fi
  fire=$(brightness "$WORK/$moment.png" 80x80+460+300)
  ground=$(brightness "$WORK/$moment.png" 80x80+620+420)
  awk -v f="$fire" -v g="$ground" 'BEGIN{exit !(f > g + 0.1)}' && bright=1
done
[ "$bright" -eq 1 ] || fail "fire $fire not brighter than ground $ground"

xdotool keydown --window "$WINDOW" w; sleep 1; xdotool keyup --window "$WINDOW" w
sleep 0.5
shot walked
[ "$(differs start walked)" -gt 50000 ] || fail "holding W did not change the view"

xdotool key --window "$WINDOW" F7
sleep 3
shot zoomed
[ "$(differs walked zoomed)" -gt 50000 ] || fail "F7 did not change the view"
# Magnified about the centre: the zoomed picture looks more like the walked picture's centre
# scaled up than like the walked picture itself.
convert "$WORK/walked.png" -gravity center -crop 174x131+0+0 +repage -resize 800x600! "$WORK/centre.png"
near=$(compare -metric RMSE "$WORK/centre.png" "$WORK/zoomed.png" null: 2>&1 | cut -d' ' -f1)
far=$(compare -metric RMSE "$WORK/walked.png" "$WORK/zoomed.png" null: 2>&1 | cut -d' ' -f1)
awk -v n="$near" -v f="$far" 'BEGIN{exit !(n < f)}' || fail "F7 did not magnify the centre ($near vs $far)"

cp "$WORK/start.png" "${E2E_SCREENSHOT:-/dev/null}" 2>/dev/null
xdotool key --window "$WINDOW" Escape
expect_exit 0
echo "ok"
