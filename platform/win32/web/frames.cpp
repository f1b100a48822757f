// Presenting on the page. The browser shows what was drawn only once the program gives it its
// event loop back, so after each present the program waits there for the browser's next
// animation frame, and the tab never freezes however busily the program polls its messages.
// It waits in the message pump, the next time it finds the queue empty, rather than inside the
// present: the way there from main is direct calls only, so Asyncify, which unwinds the stack
// into the wait and rewinds it after, instruments just those few functions (the present is
// reached through the device's virtual Present, and instrumenting every function that makes an
// indirect call made the program a third larger). The link checks that main is among them
// (web/asyncify_check.sh). Each present is counted for the page (Module.kvFrames); the page's
// address can ask the program to hold at a frame (?hold=N).
#include <emscripten.h>

#include <cstdio>

#include "platform/win32/web/page.h"

// JavaScript, which clang-format would take for C++.
// clang-format off
EM_ASYNC_JS(void, KvPageWaitForAnimationFrame, (int longestMs, int frameMs), {
  const start = performance.now();
  await new Promise(function (resolve) {
    const timer = setTimeout(resolve, longestMs);
    requestAnimationFrame(function () {
      clearTimeout(timer);
      resolve();
    });
  });
  // A browser on virtual time can run the animation frame with its clock where it was: then a
  // display frame's time on a timer, which moves the clock on.
  if (performance.now() === start) {
    await new Promise(function (resolve) { setTimeout(resolve, frameMs); });
  }
});

// The page stays alive and keeps the last picture; the program never goes on.
EM_ASYNC_JS(void, KvPageWaitForever, (), {
  await new Promise(function () {});
});

EM_JS(void, KvPageCountFrames, (int frames), {
  Module.kvFrames = frames;
});

// The N of ?hold=N in the page's address; 0 when absent or not a positive count.
EM_JS(int, KvPageHoldFrame, (), {
  const hold = Number(new URLSearchParams(location.search).get('hold'));
  return Number.isInteger(hold) && hold > 0 && hold < 2147483648 ? hold : 0;
});
// clang-format on

namespace {

// Where the browser sends no animation frames (a hidden tab, a headless browser on virtual
// time) a timer ends the wait, so the program goes on, slowly. It is long: a browser that is
// only late with its frames (software drawing on a busy machine) must not be handed frames it
// has not asked for, which would pile up and make keys act seconds late.
constexpr int kLongestFrameWaitMs = 1000;
// A display frame at 60 a second, rounded up to the whole milliseconds the program counts in.
constexpr int kDisplayFrameMs = 17;

// A clock that has not moved over this many polls of an empty queue is standing still.
constexpr int kStillClockPolls = 100000;

int framesPresented = 0;
bool presentPending = false;

void WaitAfterPresent() {
  static const int holdFrame = KvPageHoldFrame();
  if (framesPresented == holdFrame) {
    std::printf("korvane: holding at frame %d\n", framesPresented);
    KvPageWaitForever();
  }
  KvPageWaitForAnimationFrame(kLongestFrameWaitMs, kDisplayFrameMs);
}

}  // namespace

void KvFramePresented() {
  KvPageCountFrames(++framesPresented);
  if (framesPresented == 1) std::puts("korvane: first frame");
  presentPending = true;
}

// After a present, the wait for the browser's next animation frame. Otherwise nothing to
// wait for: the page's callbacks put key events on the queue while the program waits. But a
// browser on virtual time (a headless browser's timed screenshots) stands its clock still
// within one task, and a program polling for the time of its next frame would poll for ever:
// once the clock has stood still over many polls, give the browser a turn, which also moves
// virtual time on.
void KvWaitForFrame() {
  if (presentPending) {
    presentPending = false;
    WaitAfterPresent();
    return;
  }
  static double lastClock = -1;
  static int stillPolls = 0;
  const double now = emscripten_get_now();
  if (now != lastClock) {
    lastClock = now;
    stillPolls = 0;
    return;
  }
  if (++stillPolls < kStillClockPolls) return;
  stillPolls = 0;
  emscripten_sleep(1);
}
