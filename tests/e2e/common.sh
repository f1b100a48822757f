# Shared by the end-to-end tests: start the demo in a fresh Xvfb screen and drive it.
# Usage in a test: source this file with the folder of the built programs as $1.
set -u
BIN=$1
SCREEN_SIZE=${SCREEN_SIZE:-1024x768x24}
WORK=$(mktemp -d)
DEMO_PID="" XVFB_PID=""
trap 'kill $DEMO_PID $XVFB_PID 2>/dev/null; rm -rf "$WORK"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls a command until it succeeds, for up to $1 seconds (generous: the machine may be busy).
wait_for() {
  local end=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done
}

# Xvfb picks a free display itself and writes its number to the descriptor it is given. It
# keeps its settings (a keyboard layout set before the demo starts) when its last client leaves.
start_display() {
  Xvfb -displayfd 3 -noreset -screen 0 "$SCREEN_SIZE" -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  wait_for 30 grep -qs . "$WORK/display" || fail "Xvfb did not start"
  export DISPLAY=:$(head -1 "$WORK/display")
  wait_for 30 xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
}

# Starts the demo and waits for its window and for the scene on it.
start_demo() {
  "$BIN/korvane" "$@" >"$WORK/stdout" 2>"$WORK/stderr" &
  DEMO_PID=$!
  WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name "^Korvane Billboard Sample$" | head -1)
  [ -n "$WINDOW" ] || fail "the window did not appear: $(cat "$WORK/stderr")"
  wait_for 60 shows_scene || fail "the window shows no scene"
}

geometry() {
  xwininfo -id "$WINDOW" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width/{w=$NF} /Height/{h=$NF} END{print w"x"h"+"x"+"y}'
}
# The window's part of the screen, at its place and size now.
shot() {
  import -window root "$WORK/screen.png"
  convert "$WORK/screen.png" -crop "$(geometry)" +repage "$WORK/$1.png"
}
# A landscape rather than a flat or black picture.
shows_scene() {
  shot scene-check
  [ "$(convert "$WORK/scene-check.png" -format "%k" info:)" -gt 1000 ]
}
# Pixels that differ between two shots.
differs() { compare -metric AE -fuzz 10% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1; }

# Waits for the demo to end and checks its exit code.
expect_exit() {
  local code=0
  wait_for 30 eval '! kill -0 $DEMO_PID 2>/dev/null' || fail "the demo did not end"
  wait $DEMO_PID || code=$?
  [ "$code" = "$1" ] || fail "exit code $code, expected $1; stderr: $(cat "$WORK/stderr")"
}
