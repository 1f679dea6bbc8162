#!/usr/bin/python3
"""make check's web stage: the page in headless Chromium against the desktop.

    COMMANDS | tests/web/check_page.py BUILD  (BUILD/ballpit, the page in BUILD/web)

Run under a display (xvfb-run): the desktop's frame is taken from the real
program. Checks that every command on standard input (one a line: the
program's arguments for a headless run) prints in the page what it prints
natively; that the page's frame of the
paused start matches the desktop's (the same colour at every body's centre,
at most 1 % of pixels differing); that a bad file, link or preset name shows
its reason and the start scene runs; that a shared link reopens the same
world and a drawn-on start scene fits in one; that a session played through
real input events and recorded in the page replays identical natively; and
that nothing reaches the console as an error."""
import base64
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import Browser  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
STILL = "tests/recordings/paused_start.rec"
WIDTH, HEIGHT = 800, 600
# Edges rasterise differently between renderers; the rest must agree.
MAX_DIFFERING = 0.01
CHANNEL_SLACK = 10
LINK_LIMIT = 8192
TIMINGS = re.compile(r"; [0-9]+ ticks in [0-9.]+ s, [0-9]+ ticks a second$")

failures = []


def fail(message):
    failures.append(message)
    print("check: web: FAIL: " + message, file=sys.stderr)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def program_lines(lines):
    """What the program printed, its timings taken out and emscripten's notices dropped."""
    return [TIMINGS.sub("", line) for line in lines if not line.startswith("WARNING:")]


def check_hashes(browser, native, commands):
    """Each command (paths relative to the repository) run natively and in
    the page, which finds the presets where the desktop does and is given
    the recordings at the same paths."""
    for native_args in commands:
        page_args = native_args
        urls = {"/" + arg: "/recordings/" + os.path.basename(arg)
                for arg in native_args if arg.startswith("tests/recordings/")}
        got = subprocess.run([native] + native_args, capture_output=True, text=True, cwd=ROOT)
        want = program_lines((got.stdout + got.stderr).splitlines())
        if got.returncode != 0:
            fail(f"ballpit {' '.join(native_args)} fails natively: {want}")
        page = program_lines(browser.evaluate(f"ballpitRun({page_args!r}, {urls!r})"))
        if page != want:
            fail(f"{' '.join(native_args)}: the page printed {page}, the desktop {want}")
        else:
            print(f"check: web: {' '.join(native_args)}: the same ({[l for l in want if 'hash' in l][0]})")


def rgb(png, crop=None):
    args = ["/usr/bin/convert", png] + (["-crop", crop, "+repage"] if crop else []) + ["-depth", "8", "rgb:-"]
    return subprocess.run(args, capture_output=True, check=True).stdout


def desktop_frame(native, workdir):
    """The desktop's frame while the still session replays paused."""
    program = subprocess.Popen([native, "--replay", STILL], cwd=ROOT, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True)
    try:
        for line in program.stdout:
            if line.strip() == "Initialization Complete":
                break
        time.sleep(4)
        shot = os.path.join(workdir, "desktop.png")
        subprocess.run(["import", "-window", "root", shot], check=True)
        return rgb(shot, f"{WIDTH}x{HEIGHT}+0+0")
    finally:
        program.terminate()
        program.wait(timeout=20)


def open_file(browser, path):
    document = browser.call("DOM.getDocument")
    node = browser.call("DOM.querySelector", nodeId=document["root"]["nodeId"], selector="#file")
    browser.call("DOM.setFileInputFiles", nodeId=node["nodeId"], files=[path])


def canvas_shot(browser, workdir):
    box = browser.box("#canvas")
    shot = browser.call("Page.captureScreenshot", format="png",
                        clip={"x": box[0], "y": box[1], "width": WIDTH, "height": HEIGHT, "scale": 1})
    path = os.path.join(workdir, "page.png")
    with open(path, "wb") as out:
        out.write(base64.b64decode(shot["data"]))
    return rgb(path)


def centres(scene_text):
    for line in scene_text.splitlines():
        words = line.split()
        if words[:1] == ["ball"]:
            yield float.fromhex(words[1]), float.fromhex(words[2])
        elif words[:1] == ["polygon"]:
            points = [float.fromhex(w) for w in words[2:words.index("motion")]]
            xs, ys = points[0::2], points[1::2]
            yield sum(xs) / len(xs), sum(ys) / len(ys)


def check_frame(browser, base, native, workdir):
    desktop = desktop_frame(native, workdir)
    browser.navigate(base + "index.html?idle")
    open_file(browser, os.path.join(ROOT, STILL))
    time.sleep(4)
    page = canvas_shot(browser, workdir)
    scene = browser.evaluate("worldScene()")
    pixels = WIDTH * HEIGHT
    differing = sum(1 for i in range(pixels)
                    if max(abs(page[3 * i + c] - desktop[3 * i + c]) for c in range(3)) > CHANNEL_SLACK)
    if differing > MAX_DIFFERING * pixels:
        fail(f"the page's frame differs from the desktop's in {differing} pixels of {pixels}")
    bodies = 0
    for x, y in centres(scene):
        i = 3 * (int(y) * WIDTH + int(x))
        if 0 <= int(x) < WIDTH and 0 <= int(y) < HEIGHT:
            bodies += 1
            if max(abs(page[i + c] - desktop[i + c]) for c in range(3)) > CHANNEL_SLACK:
                fail(f"at the body centred at ({x:.1f}, {y:.1f}) the page shows {tuple(page[i:i + 3])},"
                     f" the desktop {tuple(desktop[i:i + 3])}")
    print(f"check: web: the paused start's frame: {differing} of {pixels} pixels differ,"
          f" {bodies} body centres compared")
    # Replayed in the window to its end, it must be the desktop's session.
    browser.wait_for("/^replay: /.test(document.getElementById('status').textContent)", 30)
    if not re.match(r"replay: \d+ ticks, identical$", status(browser)):
        fail(f"the still session replayed in the page's window: {status(browser)!r}")


def status(browser):
    return browser.evaluate("document.getElementById('status').textContent")


def expect_reason(browser, what, pattern):
    browser.wait_for("document.getElementById('status').textContent !== ''", 20)
    # The start scene runs in its place.
    browser.wait_for("typeof live !== 'undefined' && live !== null", 20)
    text = status(browser)
    if not re.search(pattern, text):
        fail(f"{what}: the page says {text!r}, not a reason matching {pattern!r}")
    else:
        print(f"check: web: {what}: {text.splitlines()[0]}")


def check_bad_input(browser, base, workdir):
    junk_scene = os.path.join(workdir, "junk.scene")
    with open(junk_scene, "w") as out:
        out.write("ballpit scene 1\nball 1 2 three\n")
    junk_recording = os.path.join(workdir, "junk.rec")
    with open(junk_recording, "wb") as out:
        out.write(open(os.path.join(ROOT, STILL), "rb").read()[:100])
    browser.navigate(base + "index.html?idle")
    open_file(browser, junk_scene)
    expect_reason(browser, "a junk scene", r"/files/junk\.scene:2: ")
    browser.navigate(base + "index.html?idle")
    open_file(browser, junk_recording)
    expect_reason(browser, "a truncated recording", r"junk\.rec")
    browser.navigate(base + "index.html#scene=not*base64")
    expect_reason(browser, "a corrupt link", r"^link: ")
    browser.navigate(base + "index.html#scene=" + "A" * 40)
    expect_reason(browser, "a link that does not inflate", r"^link: the link is damaged")
    browser.navigate(base + "index.html?scene=no-such-preset")
    expect_reason(browser, "an unknown preset", r"no-such-preset:0: ")


def check_link(browser, base):
    browser.navigate(base + "index.html?scene=pachinko")
    browser.wait_for("typeof live !== 'undefined' && live !== null", 20)
    browser.evaluate("live.ccall('ballpitLeave', null, [], [])")
    shared = browser.evaluate("worldScene()")
    browser.evaluate("share()")
    link = browser.evaluate("location.href")
    browser.navigate(link)
    browser.wait_for("typeof live !== 'undefined' && live !== null", 20)
    browser.evaluate("live.ccall('ballpitLeave', null, [], [])")
    # The first frames have run a tick or two: the reopened world is
    # compared as it started, from the file the link gave.
    reopened = browser.evaluate("live.FS.readFile('/files/link.scene', {encoding: 'utf8'})")
    if reopened != shared or status(browser):
        fail(f"a shared link did not reopen its world ({status(browser)!r})")
    # The start scene's 58 balls with five drawn obstacles of eight corners.
    obstacles = "".join(
        "polygon cOrange " + " ".join(
            f"{float(100 + 120 * k + 30 * dx).hex()} {float(200 + 30 * dy).hex()}"
            for dx, dy in ((0, -1), (0.7, -0.7), (1, 0), (0.7, 0.7), (0, 1), (-0.7, 0.7), (-1, 0), (-0.7, -0.7)))
        + " motion 0x0p+0 0x0p+0 0x0p+0 0x0p+0\n" for k in range(5))
    browser.navigate(base + "index.html")
    browser.wait_for("typeof live !== 'undefined' && live !== null", 20)
    length = browser.evaluate(f"encodeLink(worldScene() + {obstacles!r}).then((c) => location.href.length + 7 + c.length)")
    if length >= LINK_LIMIT:
        fail(f"the start scene with five obstacles needs a link of {length} characters")
    print(f"check: web: a shared link reopens its world; the start scene with five obstacles: {length} characters")


def count(browser, kind):
    return browser.evaluate(f"worldScene().split('\\n').filter((l) => l.startsWith('{kind} ')).length")


def key(browser, name, code, key_code):
    for kind in ("keyDown", "keyUp"):
        browser.call("Input.dispatchKeyEvent", type=kind, key=name, code=code, windowsVirtualKeyCode=key_code)
        time.sleep(0.1)


def click(browser, box, x, y):
    for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent", type=kind, x=box[0] + x, y=box[1] + y, button="left",
                     clickCount=1)
        time.sleep(0.08)


def check_controls(browser, base, native, workdir):
    """Real input events, recorded with the page's button: a finger pours,
    P pauses, N steps, D draws an obstacle, F5 saves; the recording the page
    gives replays identical natively, to the hash the page reported."""
    browser.navigate(base + "index.html")
    browser.wait_for("typeof live !== 'undefined' && live !== null", 20)
    click(browser, browser.box("#record"), 5, 5)
    browser.wait_for("live !== null && live === recorded", 20)
    box = browser.box("#canvas")
    balls = count(browser, "ball")
    point = [{"x": box[0] + 400, "y": box[1] + 80}]
    browser.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=point)
    time.sleep(0.5)
    browser.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
    poured = count(browser, "ball")
    if poured <= balls:
        fail(f"a finger held on the world poured nothing ({balls} balls before, {poured} after)")
    key(browser, "p", "KeyP", 80)
    paused = browser.evaluate("worldScene()")
    time.sleep(0.3)
    if browser.evaluate("worldScene()") != paused:
        fail("the world moved while paused")
    key(browser, "n", "KeyN", 78)
    if browser.evaluate("worldScene()") == paused:
        fail("the step key did not step the paused world")
    key(browser, "p", "KeyP", 80)
    polygons = count(browser, "polygon")
    key(browser, "d", "KeyD", 68)
    for x, y in ((600, 150), (700, 150), (700, 250), (600, 250)):
        click(browser, box, x, y)
    key(browser, "d", "KeyD", 68)
    if count(browser, "polygon") != polygons + 1:
        fail("drawing an obstacle with D and four clicks made none")
    key(browser, "F5", "F5", 116)
    browser.wait_for("document.readyState === 'complete'")
    if not any(text.startswith("saved: ") for _, text in browser.console):
        fail("the save key saved nothing")
    print(f"check: web: a finger poured {poured - balls} balls; pause, step, an obstacle drawn and a save")
    click(browser, browser.box("#record"), 5, 5)
    browser.wait_for("lastRecording !== null", 20)
    check_recorded(browser, native, workdir)


def check_recorded(browser, native, workdir):
    page = re.match(r"recorded: (\d+) ticks, final hash ([0-9a-f]{16})$", status(browser))
    path = os.path.join(workdir, "page.rec")
    with open(path, "wb") as out:
        out.write(bytes(browser.evaluate("Array.from(lastRecording)")))
    got = subprocess.run([native, "--replay", path, "--headless"], capture_output=True, text=True, cwd=ROOT)
    lines = got.stdout.splitlines()
    if not page:
        fail(f"the page's recording ended with {status(browser)!r}")
    elif (got.returncode != 0 or f"replay: {page[1]} ticks, identical" not in lines
          or not any(line.startswith(f"replay: final hash {page[2]};") for line in lines)):
        fail(f"the page's recording ({status(browser)!r}) replays natively as {lines + got.stderr.splitlines()}")
    else:
        print(f"check: web: the session recorded in the page replays identical natively ({page[1]} ticks,"
              f" hash {page[2]})")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    commands = [line.split() for line in sys.stdin if line.strip()]
    native = os.path.join(build, "ballpit")
    os.chdir(ROOT)
    workdir = tempfile.mkdtemp(prefix="ballpit-web-")
    served = os.path.join(workdir, "served")
    os.mkdir(served)
    os.symlink(os.path.join(build, "web"), os.path.join(served, "web"))
    os.symlink(os.path.join(ROOT, "tests/recordings"), os.path.join(served, "recordings"))
    port = free_port()
    server = subprocess.Popen([sys.executable, "-m", "http.server", "--bind", "127.0.0.1", str(port),
                               "-d", served], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    browser = None
    try:
        time.sleep(0.5)
        browser = Browser(free_port())
        base = f"http://127.0.0.1:{port}/web/"
        browser.navigate(base + "index.html?idle")
        check_hashes(browser, native, commands)
        check_frame(browser, base, native, workdir)
        check_bad_input(browser, base, workdir)
        check_link(browser, base)
        check_controls(browser, base, native, workdir)
        errors = browser.errors()
        if errors:
            fail(f"the console shows errors: {errors}")
    finally:
        if browser:
            browser.close()
        server.terminate()
        server.wait(timeout=10)
    # The screenshots and files stay for a look when something failed.
    if failures:
        print(f"check: web: its files are in {workdir}", file=sys.stderr)
        sys.exit(1)
    shutil.rmtree(workdir)
    print("check: web: passed")


if __name__ == "__main__":
    main()
