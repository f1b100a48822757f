#!/usr/bin/env bash
# The window: title, size, centring; Escape, the close box, SIGTERM and Ctrl+C each end it with
# exit code 0; without any display the program says so and fails.
source "$(dirname "$0")/common.sh" "$1"
start_display

start_demo
[ "$(geometry)" = "800x600+112+84" ] || fail "window geometry $(geometry), expected 800x600+112+84"
xdotool key --window "$WINDOW" Escape
expect_exit 0

start_demo
"$BIN/kv_close_window" "$WINDOW"
expect_exit 0

# Ctrl+C in a terminal sends SIGINT to the program. With job control on, the demo starts with
# the default handling of SIGINT, as from a terminal, not ignoring it as a background job would.
set -m
for signal in TERM INT; do
  start_demo
  kill -$signal $DEMO_PID
  expect_exit 0
done

code=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= "$BIN/korvane" 2>"$WORK/nodisplay" || code=$?
[ "$code" != 0 ] || fail "without a display the program exited 0"
[ "$(wc -l <"$WORK/nodisplay")" = 1 ] || fail "expected one line on stderr: $(cat "$WORK/nodisplay")"
echo "ok"
