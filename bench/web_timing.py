"""The browser page's speed in headless Chromium, through the browser test's own driver: the
time from opening the page to its first frame, and the frames a second over the next 5 s, in 5
fresh browsers, with their medians. Build the page first (make web).

  /usr/bin/python3 bench/web_timing.py [BUILD_DIR]"""
import os, shutil, statistics, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
from web_test import Browser, check_tools, first_frame, serve  # noqa: E402


def measure(url, work):
    """Opening the page to its first frame, and the frame rate over 5 s, in 5 fresh browsers."""
    waits, rates = [], []
    for run in range(5):
        browser = Browser(work)
        try:
            browser.open(url)
            waits.append(first_frame(browser) - browser.opened)
            start, frames = time.monotonic(), browser.frames()
            time.sleep(5)
            rates.append((browser.frames() - frames) / (time.monotonic() - start))
        finally:
            browser.close()
        print('run %d: first frame after %.2f s, %.1f frames a second' % (run + 1, waits[-1], rates[-1]))
    print('median: first frame after %.2f s, %.1f frames a second' % (
        statistics.median(waits), statistics.median(rates)))


if __name__ == '__main__':
    check_tools()
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else 'build-web')
    work = os.path.join(build, 'timing')
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    measure('http://127.0.0.1:%d/korvane.html' % serve(build), work)
