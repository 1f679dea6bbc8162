#!/usr/bin/python3
"""The page's speed in headless Chromium against the native program.

    tests/web/measure_page.py BUILD [SCREENSHOT.png]

With a file named, first takes a screenshot of the page two seconds into the
start scene with the statistics shown (docs/web.png). Then prints the world step of the lattice scene (2,000 balls; the time of 1,000
headless ticks less that of none, per tick) in the page and natively, then
the page's ticks and frames a second, once a second, while balls are poured
up to 2,000. Not part of make check: figures for the README."""
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
TICKS = 1000
CAPTION = re.compile(r"(\d+) balls, (\d+) ups, (\d+) fps")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def native_seconds(native, ticks):
    begun = time.perf_counter()
    subprocess.run([native, "--scene", "lattice", "--headless", "--ticks", str(ticks)], cwd=ROOT,
                   check=True, capture_output=True)
    return time.perf_counter() - begun


def page_seconds(browser, ticks):
    return browser.evaluate(f"(async () => {{ const t = performance.now();"
                            f" await ballpitRun(['--scene', 'lattice', '--headless', '--ticks', '{ticks}']);"
                            f" return (performance.now() - t) / 1000; }})()")


def best_of(three):
    return min(three() for _ in range(3))


def pour(browser, limit_seconds=90):
    browser.wait_for("typeof live !== 'undefined' && live !== null", 30)
    box = browser.box("#canvas")
    mouse = lambda kind, x, **more: browser.call("Input.dispatchMouseEvent", type=kind, x=box[0] + x,
                                                 y=box[1] + 80, button="left", **more)
    mouse("mouseMoved", 150)
    mouse("mousePressed", 150, clickCount=1, buttons=1)
    begun = time.time()
    x, step, last = 150, 25, None
    while time.time() - begun < limit_seconds:
        x += step
        if not 150 <= x <= 650:
            step = -step
        mouse("mouseMoved", x, buttons=1)
        time.sleep(0.05)
        caption = browser.evaluate("document.getElementById('stats').textContent.split('\\n')[0]")
        if caption != last:
            last = caption
            print("page: " + caption, flush=True)
            found = CAPTION.search(caption)
            if found and int(found.group(1)) >= 2000:
                break
    mouse("mouseReleased", x)


def screenshot(browser, url, path):
    browser.navigate(url)
    browser.wait_for("typeof live !== 'undefined' && live !== null", 30)
    for kind in ("keyDown", "keyUp"):
        browser.call("Input.dispatchKeyEvent", type=kind, key="h", code="KeyH", windowsVirtualKeyCode=72)
        # Held over a tick or more, as a person presses it.
        time.sleep(0.1)
    time.sleep(2)
    shot = browser.call("Page.captureScreenshot", format="png",
                        clip={"x": 0, "y": 0, "width": 1200, "height": 624, "scale": 1})
    with open(path, "wb") as out:
        out.write(base64.b64decode(shot["data"]))


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    served = tempfile.mkdtemp(prefix="ballpit-measure-")
    os.symlink(os.path.join(build, "web"), os.path.join(served, "web"))
    port = free_port()
    server = subprocess.Popen([sys.executable, "-m", "http.server", "--bind", "127.0.0.1", str(port), "-d", served],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    browser = None
    try:
        time.sleep(0.5)
        browser = Browser(free_port())
        if len(sys.argv) > 2:
            screenshot(browser, f"http://127.0.0.1:{port}/web/index.html", sys.argv[2])
        browser.navigate(f"http://127.0.0.1:{port}/web/index.html?idle")
        native = os.path.join(build, "ballpit")
        native_ms = (best_of(lambda: native_seconds(native, TICKS)) - best_of(lambda: native_seconds(native, 0))) * 1000 / TICKS
        page_ms = (best_of(lambda: page_seconds(browser, TICKS)) - best_of(lambda: page_seconds(browser, 0))) * 1000 / TICKS
        print(f"lattice 2000, one tick: page {page_ms:.2f} ms, native {native_ms:.2f} ms,"
              f" {page_ms / native_ms:.2f} times native")
        browser.navigate(f"http://127.0.0.1:{port}/web/index.html")
        pour(browser)
    finally:
        if browser:
            browser.close()
        server.terminate()
        server.wait(timeout=10)
        shutil.rmtree(served)


if __name__ == "__main__":
    main()
