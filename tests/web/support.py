# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What the web test and the web figures share: headless Chromium driven over the
# DevTools protocol.
import json
import os
import signal
import subprocess
import tempfile
import time
from pathlib import Path

import websocket


class Chromium:
    def __init__(self):
        # A fresh profile: no cache, no service worker.
        self.profile = tempfile.TemporaryDirectory(ignore_cleanup_errors=True)
        self.process = subprocess.Popen([
            "chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--user-data-dir=" + self.profile.name, "--remote-debugging-port=0", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        active = Path(self.profile.name, "DevToolsActivePort")
        deadline = time.monotonic() + 30
        while len(lines := (active.read_text().split() if active.exists() else [])) < 2:
            if time.monotonic() > deadline:
                raise RuntimeError("Chromium did not start")
            time.sleep(0.05)
        self.socket = websocket.create_connection(f"ws://127.0.0.1:{lines[0]}{lines[1]}", suppress_origin=True,
                                                  skip_utf8_validation=True, timeout=120)
        self.sent, self.session, self.events = 0, None, []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]

    def close(self):  # Chromium and every process it started
        os.killpg(self.process.pid, signal.SIGTERM)
        self.process.wait()
        self.profile.cleanup()

    def call(self, method, **params):  # the page's events meanwhile go to self.events
        self.sent += 1
        self.socket.send(json.dumps({"id": self.sent, "method": method, "params": params,
                                     **({"sessionId": self.session} if self.session else {})}))
        while (reply := json.loads(self.socket.recv())).get("id") != self.sent:
            self.events.append(reply)
        if "error" in reply:
            raise RuntimeError(f"{method}: {reply['error']}")
        return reply["result"]

    def load(self, method, **params):  # Page.navigate or Page.reload, until the new page has loaded
        seen = len(self.events)
        self.call(method, **params)
        while not any(event.get("method") == "Page.loadEventFired" for event in self.events[seen:]):
            self.events.append(json.loads(self.socket.recv()))

    def js(self, expression):
        reply = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in reply:
            raise RuntimeError(f"{expression}: {reply['exceptionDetails']}")
        return reply["result"].get("value")

    def wait_for(self, expression, seconds=20):
        deadline = time.monotonic() + seconds
        while not (value := self.js(expression)) and time.monotonic() < deadline:
            time.sleep(0.02)
        return value

    def key(self, key, code, keycode, text="", modifiers=0, commands=()):
        self.call("Input.dispatchKeyEvent", type="keyDown", key=key, code=code, windowsVirtualKeyCode=keycode,
                  text=text, modifiers=modifiers, commands=list(commands))
        self.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=code, windowsVirtualKeyCode=keycode,
                  modifiers=modifiers)

    def type(self, text):  # key by key
        for character in text:
            self.call("Input.dispatchKeyEvent", type="keyDown", key=character, text=character)
            self.call("Input.dispatchKeyEvent", type="keyUp", key=character)

    def click(self, selector):
        box = self.js(f"(({{x, y, width, height}}) => [x + width / 2, y + height / 2])"
                      f"(document.querySelector('{selector}').getBoundingClientRect())")
        for kind in ["mousePressed", "mouseReleased"]:
            self.call("Input.dispatchMouseEvent", type=kind, x=box[0], y=box[1], button="left", clickCount=1)
