"""A small DevTools-protocol client for headless Chromium: a page's
commands, its console and its exceptions."""
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket


class Browser:
    def __init__(self, port):
        self.profile = tempfile.mkdtemp(prefix="ballpit-chromium-")
        self.process = subprocess.Popen(
            ["chromium", "--headless=new", "--enable-unsafe-swiftshader", "--use-angle=swiftshader",
             "--no-sandbox", "--no-first-run", "--disable-gpu-sandbox", "--hide-scrollbars",
             "--window-size=1280,800", f"--remote-debugging-port={port}",
             f"--user-data-dir={self.profile}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.port = port
        target = self._page_target()
        self.ws = websocket.create_connection(target["webSocketDebuggerUrl"], timeout=120,
                                              suppress_origin=True)
        self.next_id = 0
        self.console = []  # (level, text)
        self.call("Runtime.enable")
        self.call("Page.enable")
        self.call("Log.enable")

    def _page_target(self):
        deadline = time.time() + 30
        while time.time() < deadline:
            try:
                with urllib.request.urlopen(f"http://127.0.0.1:{self.port}/json") as reply:
                    pages = [t for t in json.load(reply) if t["type"] == "page"]
                if pages:
                    return pages[0]
            except OSError:
                pass
            time.sleep(0.2)
        raise RuntimeError("chromium did not start")

    def _note(self, message):
        method = message.get("method")
        params = message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            text = details.get("exception", {}).get("description", details.get("text"))
            self.console.append(("error", "exception: " + text))
        elif method == "Log.entryAdded":
            entry = params["entry"]
            self.console.append((entry["level"], entry["text"]))

    def call(self, method, **params):
        self.next_id += 1
        ident = self.next_id
        self.ws.send(json.dumps({"id": ident, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == ident:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            self._note(message)

    def evaluate(self, expression):
        """The value of a JavaScript expression, awaited when a promise."""
        result = self.call("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def box(self, selector):
        """Where an element's top left corner is on the page."""
        return self.evaluate(f"(() => {{ const r = document.querySelector({selector!r}).getBoundingClientRect();"
                             " return [r.left, r.top]; })()")

    def wait_for(self, expression, seconds=30):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if self.evaluate(expression):
                return
            time.sleep(0.1)
        raise RuntimeError(f"timed out waiting for {expression}")

    def navigate(self, url):
        # Through a blank page, so that a link differing only in its
        # fragment loads afresh.
        self.call("Page.navigate", url="about:blank")
        self.call("Page.navigate", url=url)
        self.wait_for("document.readyState === 'complete'")

    def errors(self):
        return [text for level, text in self.console if level == "error"]

    def close(self):
        try:
            self.ws.close()
        finally:
            self.process.terminate()
            self.process.wait(timeout=10)
            shutil.rmtree(self.profile, ignore_errors=True)
