#!/usr/bin/env bash
# Links the page's program and holds the rule its frame wait rests on: Asyncify instruments
# only the functions that can reach the wait through direct calls (ASYNCIFY_IGNORE_INDIRECT),
# so the way from main to the wait must have no indirect call, or unwinding into the wait would
# break the program at its first frame. The link reports the instrumented functions
# (ASYNCIFY_ADVISE, after inlining, so WinMain and the pump may show as main itself); main
# among them means the whole way from main to the wait is direct.
#   asyncify_check.sh LINK_COMMAND...   (CMake's link launcher for the page's program)
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" -sASYNCIFY_ADVISE=1 >"$log" 2>&1
status=$?
grep -v '^\[asyncify\]' "$log"
[ "$status" -eq 0 ] || exit "$status"
if ! grep -q '^\[asyncify\] main can change the state' "$log"; then
  echo "asyncify_check: main does not reach the frame wait through direct calls only; an" \
    "indirect call on the way from main to KvWaitForFrame would break the page" >&2
  exit 1
fi
