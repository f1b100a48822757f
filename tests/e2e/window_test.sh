#!/usr/bin/env bash
# The window: title, size, centring; Escape and the close box both end it with exit code 0;
# without any display the program says so and fails.
source "$(dirname "$0")/common.sh" "$1"
start_display

start_demo
geometry=$(xwininfo -id "$WINDOW" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width/{w=$NF} /Height/{h=$NF} END{print w"x"h"+"x"+"y}')
[ "$geometry" = "800x600+112+84" ] || fail "window geometry $geometry, expected 800x600+112+84"
xdotool key --window "$WINDOW" Escape
expect_exit 0

start_demo
"$BIN/kv_close_window" "$WINDOW"
expect_exit 0

code=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= "$BIN/korvane" 2>"$WORK/nodisplay" || code=$?
[ "$code" != 0 ] || fail "without a display the program exited 0"
[ "$(wc -l <"$WORK/nodisplay")" = 1 ] || fail "expected one line on stderr: $(cat "$WORK/nodisplay")"
echo "ok"
