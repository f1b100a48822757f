# Shared by the end-to-end tests: start the demo in a fresh Xvfb screen and drive it.
# Usage in a test: source this file with the folder of the built programs as $1.
set -u
BIN=$1
SCREEN_SIZE=${SCREEN_SIZE:-1024x768x24}
WORK=$(mktemp -d)
trap 'kill $DEMO_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; rm -rf "$WORK"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

start_display() {
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 "$SCREEN_SIZE" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    kill $XVFB_PID 2>/dev/null
  done
  fail "no Xvfb display could be started"
}

start_demo() {
  "$BIN/korvane" >"$WORK/stdout" 2>"$WORK/stderr" &
  DEMO_PID=$!
  WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name "^Korvane Billboard Sample$" | head -1)
  [ -n "$WINDOW" ] || fail "the window did not appear"
}

# Waits for the demo to end and checks its exit code.
expect_exit() {
  local code=0
  for _ in $(seq 150); do kill -0 $DEMO_PID 2>/dev/null || break; sleep 0.1; done
  kill -0 $DEMO_PID 2>/dev/null && fail "the demo did not end"
  wait $DEMO_PID || code=$?
  [ "$code" = "$1" ] || fail "exit code $code, expected $1; stderr: $(cat "$WORK/stderr")"
}

screenshot() { import -window root "$1"; }

# Mean brightness (0..1) of a region WxH+X+Y of a picture.
brightness() { convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:; }
