#!/usr/bin/env bash
# The program survives its window being resized, minimised, taken off the screen and restored:
# it keeps running, shows the moving scene again afterwards and still ends with Escape and exit
# code 0. Where no OpenGL 3.3 context can be had it says so in one line and fails.
source "$(dirname "$0")/common.sh" "$1"
start_display
start_demo
sleep 2

alive() { kill -0 $DEMO_PID 2>/dev/null || fail "the program ended after $1: $(cat "$WORK/stderr")"; }
geometry() { xwininfo -id "$WINDOW" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width/{w=$NF} /Height/{h=$NF} END{print w"x"h"+"x"+"y}'; }
# The window's part of the screen, at its place and size now.
shot() { screenshot "$WORK/screen.png"; convert "$WORK/screen.png" -crop "$(geometry)" +repage "$WORK/$1.png"; }
# A scene rather than a flat or black picture.
expect_scene() {
  local colours light
  colours=$(convert "$WORK/$1.png" -format "%k" info:)
  light=$(convert "$WORK/$1.png" -colorspace Gray -format "%[fx:mean]" info:)
  [ "$colours" -gt 1000 ] && awk -v l="$light" 'BEGIN{exit !(l > 0.1)}' ||
    fail "$1: $colours colours, brightness $light"
}

for size in "400 300" "1000 700" "1 1" "800 600"; do
  xdotool windowsize "$WINDOW" $size
  sleep 0.5
  alive "resizing to $size"
done
xdotool windowsize "$WINDOW" 400 300
sleep 0.5
shot small
[ "$(identify -format %w "$WORK/small.png")" = 400 ] || fail "the window was not resized: $(geometry)"
expect_scene small  # stretched over the smaller window

xdotool windowminimize "$WINDOW"  # needs a window manager to act; Xvfb has none, so also:
xdotool windowunmap "$WINDOW"
sleep 1
xwininfo -id "$WINDOW" | grep -q IsUnMapped || fail "the window is still shown"
alive "unmapping the window"
sleep 1
alive "a second off the screen"

xdotool windowmap "$WINDOW"
xdotool windowactivate "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
xdotool windowsize "$WINDOW" 800 600
sleep 1
alive "restoring the window"
shot restored
sleep 0.5
shot later
expect_scene restored
moved=$(compare -metric AE "$WORK/restored.png" "$WORK/later.png" null: 2>&1 | cut -d' ' -f1)
[ "$moved" -gt 100 ] || fail "the restored scene does not move ($moved pixels changed)"
xdotool key --window "$WINDOW" Escape
expect_exit 0

# Mesa offers no OpenGL above the version this asks for, so the 3.3 context cannot be made:
# in the window on the display, and offscreen, where a sanitizer build also checks that the
# failed start leaks nothing of its own (the message bus library leaks a little by itself).
echo "leak:libdbus-1.so" >"$WORK/suppressions"
expect_no_gl() {
  local code=0
  MESA_GL_VERSION_OVERRIDE=2.1 LSAN_OPTIONS="suppressions=$WORK/suppressions" \
    timeout 30 "$BIN/korvane" 2>"$WORK/nogl" || code=$?
  [ "$code" = 1 ] || fail "$1: without OpenGL 3.3 the program ended with $code: $(cat "$WORK/nogl")"
  [ "$(wc -l <"$WORK/nogl")" = 1 ] || fail "$1: expected one line on stderr: $(cat "$WORK/nogl")"
  grep -q "OpenGL 3.3" "$WORK/nogl" || fail "$1: the message does not name OpenGL 3.3"
}
expect_no_gl "on the display"
(unset DISPLAY; SDL_VIDEODRIVER=offscreen ASAN_OPTIONS=detect_leaks=1 expect_no_gl "offscreen") || exit 1
echo "ok"
