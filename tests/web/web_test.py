"""The page in headless Chromium on its software WebGL 2, driven through the DevTools protocol: the first
frame held by ?hold=1, 1:1 and fitted to a phone, against the reference; a lost and restored WebGL context;
then the touch controls, Q, F7, W, full screen and back, Escape. With Debian's Python (python3-websocket): web_test.py --tools fails
naming any tool not installed; web_test.py BUILD_DIR is the test, its pictures in BUILD_DIR/test."""
import base64, contextlib, functools, http.server, json, os, re, shutil
import subprocess, sys, tempfile, threading, time
try:
    import websocket
except ImportError:
    websocket = None

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The browser itself: the /usr/bin wrapper starts it as a child and leaves it running if killed.
CHROMIUM = '/usr/lib/chromium/chromium-headless-shell'
TITLE = 'Korvane Billboard Sample'
# Fraction of the first frame that may differ from the reference, as for the Linux views; Chromium
# drew it with 0.0000 differing 1:1 and 0.0001 stretched to a phone in every run measured.
ALLOWED = float(os.environ.get('ALLOWED', '0.001'))
KEYS = {'KeyW': ('w', 87), 'KeyQ': ('q', 81), 'F5': ('F5', 116), 'F7': ('F7', 118), 'Escape': ('Escape', 27)}


def fail(message):
    print('FAIL: ' + message, file=sys.stderr)
    sys.exit(1)


def judged(good, report):
    print(report, flush=True)
    if not good:
        fail(report)


def check_tools():
    missing = [name for name, present in (
        ('emscripten', shutil.which('emcc')), ('chromium-headless-shell', os.access(CHROMIUM, os.X_OK)),
        ('python3-websocket', websocket), ('imagemagick', shutil.which('compare'))) if not present]
    if missing:
        fail('not installed: %s (tools/install-deps.sh web installs them)' % ', '.join(missing))


def wait_for(condition, seconds, what):
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            fail('no %s within %d s' % (what() if callable(what) else what, seconds))
        time.sleep(0.02)


def serve(folder):
    Quiet = type('Quiet', (http.server.SimpleHTTPRequestHandler,), {'log_message': lambda *args: None})
    server = http.server.ThreadingHTTPServer(
        ('127.0.0.1', 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


class Browser:
    """One headless Chromium with a fresh profile and home, and one page at a time in it."""

    def __init__(self, work):
        self.work, self.home = work, tempfile.mkdtemp()
        log = open(os.path.join(work, 'chromium.log'), 'w')
        self.process = subprocess.Popen([
            CHROMIUM, '--headless', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
            '--user-data-dir=' + self.home + '/profile', '--remote-debugging-port=0', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--disable-quic', '--window-size=1000,800', 'about:blank'],
            env=dict(os.environ, HOME=self.home), stdout=subprocess.DEVNULL, stderr=log)
        address = lambda: re.findall(r'ws://\S+', open(log.name).read())
        try:
            wait_for(lambda: address() or self.process.poll() is not None, 60, 'DevTools address from Chromium')
        finally:
            if not address():
                self.process.kill()
        if not address() or self.process.poll() is not None:
            fail('Chromium ended at start: ' + open(log.name).read()[-500:])
        self.socket = websocket.create_connection(address()[0], timeout=120, suppress_origin=True)
        self.calls, self.session, self.console, self.errors = 0, None, [], []

    def close(self):
        with contextlib.suppress(Exception, SystemExit):
            self.call('Browser.close')
        with contextlib.suppress(subprocess.TimeoutExpired):
            self.process.wait(30)
        self.process.kill()  # only if it is still running
        shutil.rmtree(self.home, ignore_errors=True)

    def call(self, method, **params):
        self.calls += 1
        message = {'id': self.calls, 'method': method, 'params': params}
        if self.session and not method.startswith(('Target.', 'Browser.')):
            message['sessionId'] = self.session
        self.socket.send(json.dumps(message))
        while True:
            try:
                reply = json.loads(self.socket.recv())
            except websocket.WebSocketTimeoutException:
                fail('Chromium did not answer %s within 120 s' % method)
            if reply.get('id') == self.calls:
                if 'error' in reply:
                    fail('%s: %s' % (method, reply['error']))
                return reply.get('result', {})
            event = reply.get('params', {})
            if reply.get('method') == 'Runtime.consoleAPICalled':
                text = ' '.join(str(a.get('value', a.get('description', ''))) for a in event['args'])
                self.console.append((time.monotonic(), text))
            elif reply.get('method') == 'Runtime.exceptionThrown':
                self.errors.append(event['exceptionDetails'].get('exception', {}).get(
                    'description', event['exceptionDetails'].get('text')))

    def open(self, url, metrics=None):
        self.keep_console()
        if self.errors:
            fail('errors in the page: ' + '; '.join(self.errors))
        if self.session:
            self.call('Target.closeTarget', targetId=self.target)
        self.target = self.call('Target.createTarget', url='about:blank')['targetId']
        self.session = self.call('Target.attachToTarget', targetId=self.target, flatten=True)['sessionId']
        self.call('Runtime.enable')
        self.call('Emulation.setTouchEmulationEnabled', enabled=True, maxTouchPoints=5)
        if metrics:
            self.call('Emulation.setDeviceMetricsOverride', **metrics)
        self.console, self.errors, self.opened = [], [], time.monotonic()
        self.call('Page.navigate', url=url)

    def js(self, expression):
        return self.call('Runtime.evaluate', expression=expression, returnByValue=True)['result'].get('value')

    def frames(self):
        return self.js('typeof Module == "object" && Module.kvFrames || 0')

    def wait_frames(self, count, seconds=120):
        target = self.frames() + count
        wait_for(lambda: self.frames() >= target, seconds,
                 lambda: '%d more frames (at frame %d)' % (count, self.frames()))

    def key(self, code, kind):
        key, virtual = KEYS[code]
        self.call('Input.dispatchKeyEvent', type=kind, code=code, key=key, windowsVirtualKeyCode=virtual)

    def box(self, selector='#canvas'):
        return self.js('(r => ({x: r.x, y: r.y, width: r.width, height: r.height}))'
                       '(document.querySelector(%s).getBoundingClientRect())' % json.dumps(selector))

    def centre(self, selector):
        return (lambda r: dict(x=r['x'] + r['width'] / 2, y=r['y'] + r['height'] / 2))(self.box(selector))

    def touch(self, kind, *at):  # one finger at each point; touchEnd lifts them all
        self.call('Input.dispatchTouchEvent', type=kind, touchPoints=[dict(p, id=i) for i, p in enumerate(at)])

    def mouse(self, kind, at):
        self.call('Input.dispatchMouseEvent', type=kind, button='left', clickCount=1, **at)

    def shot(self, name, whole=False):
        clip = {} if whole else dict(clip=dict(self.box(), scale=1))
        picture = self.call('Page.captureScreenshot', format='png', **clip)
        with open(os.path.join(self.work, name + '.png'), 'wb') as f:
            f.write(base64.b64decode(picture['data']))
        return f.name

    def keep_console(self):
        with open(os.path.join(self.work, 'console.log'), 'a') as f:
            f.writelines(line + '\n' for _, line in self.console)


# The motion checks judge the picture grey at 100 × 75, blurred so that the ground's and the rock's
# fine texture does not decide, but a tenth at each side, and count the better half of the pixels'
# grey differences: the particles change a minority of the pixels every frame whatever the camera does.
def grey(path):
    return subprocess.run(['convert', path, '-alpha', 'off', '-colorspace', 'gray', '-scale',
                           '100x75!', '-blur', '0x1', '-depth', '8', 'gray:-'],
                          check=True, capture_output=True).stdout


def mismatch(before, after, scale, shift):
    """How far AFTER is from BEFORE magnified by SCALE about the centre and moved SHIFT right."""
    at = lambda x, y: before[min(max(int(y), 0), 74) * 100 + min(max(int(x), 0), 99)]
    d = sorted(abs(after[y * 100 + x] - at(50 + (x - shift - 50) / scale, 37.5 + (y - 37.5) / scale))
               for y in range(8, 68) for x in range(10, 90))
    return sum(d[:len(d) // 2])


def motion(before, after, scales=(1.0,), shifts=(0,)):
    """The magnification about the centre and the move right (in 1/100 widths) from BEFORE to AFTER."""
    return min((mismatch(before, after, s, d), s, d) for s in scales for d in shifts)[1:]


magnification = lambda before, after: motion(before, after, [1.0] + [0.6 * 1.05 ** i for i in range(40)])[0]
shift = lambda before, after: motion(before, after, shifts=range(-20, 21))[1]


def press(page, name, code, held, frames):
    """Pictures just before CODE is held for HELD frames and FRAMES frames after it went down."""
    before = page.shot(name + '-before')
    page.key(code, 'keyDown')
    page.wait_frames(held)
    page.key(code, 'keyUp')
    page.wait_frames(max(frames - held, 2))
    return grey(before), grey(page.shot(name + '-after'))


def first_frame(page, seconds=120):
    drawn = lambda: page.frames() >= 1 or any('korvane: first frame' in line for _, line in page.console)
    wait_for(drawn, seconds, lambda: 'first frame (status: %s; errors: %s)' % (
        page.js('document.getElementById("status")?.textContent'), '; '.join(page.errors)))
    return min([t for t, line in page.console if 'korvane: first frame' in line] + [time.monotonic()])


def fitted(page, width, what):
    """Fails unless the canvas is shown WIDTH wide at 4:3 with a drawable pixel per screen pixel."""
    got = page.js('((r, d) => [r.width, r.height * 4 / 3, canvas.width, canvas.height * 4 / 3, devicePixelRatio, '
                  'd.scrollWidth - d.clientWidth])(canvas.getBoundingClientRect(), document.documentElement)')
    if any(abs(a - b) > 2 for a, b in zip(got, [width, width, width * got[4], width * got[4], got[4], 0])):
        fail('%s: not %d wide (width, height, drawable, × 4/3; pixel ratio; sideways scroll): %s' % (what, width, got))


def test(page, url, work):
    phone = dict(width=390, height=844, deviceScaleFactor=3, mobile=True)
    for name, metrics, width in (('start', None, 800), ('phone', phone, 390)):
        page.open(url + '?hold=1', metrics)
        first_frame(page)
        judged(page.js('document.title') == TITLE, 'page title: %r' % page.js('document.title'))
        fitted(page, width, name)
        page.shot(name + '-page', whole=True)
        figure = float(subprocess.run(['bash', ROOT + '/tools/picture_compare.sh', ROOT + '/tests/references/start.png',
                                       page.shot(name), '%s/%s-diff.png' % (work, name)],
                                      check=True, capture_output=True).stdout)
        judged(figure <= ALLOWED, '%s: %.4f of the first frame differs from the reference '
               '(allowed %g; %s/%s-diff.png)' % (name, figure, ALLOWED, work, name))

    # The WebGL context taken away at frame 20 and given back 10 frames later: the status line says the picture
    # is away meanwhile, and frame 60 held equals frame 60 of a run without a loss (the frames are deterministic).
    for name in ('unlost', 'restored'):
        page.open(url + '?hold=60')
        first_frame(page)
        if name == 'restored':
            page.wait_frames(20 - page.frames())
            page.js('(window.kvLose = canvas.getContext("webgl2").getExtension("WEBGL_lose_context")).loseContext()')
            wait_for(lambda: 'away' in page.js('document.getElementById("status").textContent'), 30, 'word of it')
            page.wait_frames(10)
            page.js('kvLose.restoreContext()')
        wait_for(lambda: page.frames() >= 60, 120, 'frame 60')
        time.sleep(0.5)  # the held frame's picture reaches the screen
        page.shot(name)
    figure = float(subprocess.run(['bash', ROOT + '/tools/picture_compare.sh', work + '/unlost.png',
                                   work + '/restored.png', work + '/restored-diff.png'],
                                  check=True, capture_output=True).stdout)
    judged(figure <= ALLOWED and 'restored' in ' '.join(line for _, line in page.console),
           'frame 60 after a lost and restored context: %.4f differs from it without a loss (allowed %g; '
           '%s/restored*.png)' % (figure, ALLOWED, work))

    page.open(url)
    first_frame(page)
    page.wait_frames(30)  # the opening zoom settles by frame 16
    middle = page.centre('#canvas')
    for kind in ('mousePressed', 'mouseReleased'):  # a click gives the canvas the keys
        page.mouse(kind, middle)
    # A finger on walk (W) and the mouse on step left (Q): 12 frames of both magnify the view about 1.15 times
    # and move it about 5 hundredths right; the finger slides off onto the picture, the mouse lets go: it stands.
    before = grey(page.shot('touch-before'))
    page.touch('touchStart', page.centre('[data-key="87"]'))
    page.mouse('mousePressed', page.centre('[data-key="81"]'))
    page.wait_frames(12)
    page.touch('touchMove', middle)
    page.mouse('mouseReleased', page.centre('[data-key="81"]'))
    page.wait_frames(2)
    after = grey(page.shot('touch-after'))
    page.wait_frames(10)
    (grew, moved), still = (motion(a, b, [1 + s / 40 for s in range(9)], range(-10, 11))
                            for a, b in ((before, after), (after, grey(page.shot('touch-later')))))
    page.touch('touchEnd')
    judged(grew >= 1.05 and moved >= 2 and still == (1, 0), 'W touched, Q clicked: the view grew %.3f times and moved '
           '%+d hundredths right (at least 1.05, 2); after they let go %.3f and %+d (1, 0); %s/touch-*.png'
           % (grew, moved, *still, work))
    # Near the opening view, with the cliff, the fountain and the fire in sight, 10 frames of Q move it about 4
    # hundredths right (E as far left); F7's first 30 frames magnify it about 2.4 times; W's 30 about 1.4 (S 0.8).
    checks = (('q', 'KeyQ', 10, 12, shift, 2, 'Q: the view moved %+.0f hundredths of its width right'),
              ('f7', 'F7', 2, 30, magnification, 1.5, 'F7: the view magnified %.2f times'),
              ('w', 'KeyW', 30, 32, magnification, 1.15, 'W held: the view grew %.2f times'))
    for name, code, held, frames, judge, least, what in checks:
        figure = judge(*press(page, name, code, held, frames))
        judged(figure >= least, '%s (at least %g; %s/%s-*.png)' % (what % figure, least, work, name))
        if code == 'F7':  # back to the opening field of view, from as far as 10 back to 2.5 by 0.1 a frame
            press(page, 'f5', 'F5', 2, 82)
    # Full screen on a 1920 × 1080 screen: the picture as high as the screen; then back to 1:1.
    page.call('Emulation.setDeviceMetricsOverride', width=1920, height=1080, deviceScaleFactor=1, mobile=False)
    for width, name in ((1440, 'fullscreen'), (800, 'after-fullscreen')):
        page.touch('touchStart', page.centre('#fullscreen'))
        page.touch('touchEnd')
        page.wait_frames(5)
        page.shot(name, whole=True)
        fitted(page, width, name)
    page.key('Escape', 'keyDown')
    wait_for(lambda: page.js('typeof Module.kvExitCode') == 'number', 60, 'end of the program after Escape')
    code, status = page.js('[Module.kvExitCode, document.getElementById("status").textContent]')
    judged(code == 0 and re.search(r'\bended\b', status, re.I),
           'after Escape: exit code %r, status %r' % (code, status))
    judged(not page.errors, 'errors in the page: ' + ('; '.join(page.errors) or 'none'))
    print('ok')


def main():
    check_tools()
    if sys.argv[1] == '--tools':
        return
    build, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[1]) + '/test'
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    if not os.path.exists(os.path.join(build, 'korvane.html')):
        fail('no page: %s/korvane.html (make web builds it)' % build)
    url = 'http://127.0.0.1:%d/korvane.html' % serve(build)
    browser = Browser(work)
    try:
        test(browser, url, work)
    finally:
        browser.keep_console()
        browser.close()


if __name__ == '__main__':
    main()
