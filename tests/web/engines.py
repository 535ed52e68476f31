# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The browsers the web tests and figures drive, as Debian packages them, behind the same
# few calls: Chromium and WebKitGTK through Selenium and their WebDriver servers, Firefox
# ESR over WebDriver BiDi. Each starts on a fresh profile and home of its own.
import base64
import json
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

import websocket
from selenium import webdriver
from selenium.webdriver.chrome.service import Service as ChromeService
from selenium.webdriver.chromium.remote_connection import ChromiumRemoteConnection
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.common.print_page_options import PrintOptions
from selenium.webdriver.remote.command import Command
from selenium.webdriver.webkitgtk.options import Options as WebKitOptions
from selenium.webdriver.webkitgtk.service import Service as WebKitService

TIMEOUT = 30  # seconds
WIDTH, HEIGHT = 1280, 800
# Two frames drawn: after only one the picture may still be of the page before the last key.
PAINTED = "new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => done(true))))"


def until(condition, seconds=TIMEOUT):  # the condition's first truthy value, else its last
    deadline = time.monotonic() + seconds
    while not (value := condition()) and time.monotonic() < deadline:
        time.sleep(0.02)
    return value


# The profile, and what is made of the few calls each engine answers in its own way.
class Browser:
    def __init__(self, screen_reader=False):  # Chromium only: in a window, its page open to a screen reader
        self.screen_reader = screen_reader
        self.folder = Path(tempfile.mkdtemp(prefix=f"velinora-{self.name}-"))
        self.profile, self.logged = self.folder / "profile", []
        os.makedirs(self.profile), os.makedirs(self.folder / "home")
        self.start()

    def environment(self):  # a display and a session bus only within scripts/x-session's
        return {**os.environ, "HOME": str(self.folder / "home")}

    def js(self, expression):  # awaited, and through JSON, so that every engine gives back the same
        return json.loads(self.evaluate(f"(async () => JSON.stringify(await (\n{expression}\n)))()") or "null")

    def wait_for(self, expression, seconds=20):
        return until(lambda: self.js(expression), seconds)

    def screenshot(self, path):
        self.js(PAINTED)
        Path(path).write_bytes(self.png())

    # Keys and the pointer as WebDriver's actions, which BiDi takes as they are.
    def keys(self, presses):
        self.actions([{"type": "key", "id": "keyboard", "actions": [dict(type=t, value=v) for t, v in presses]}])

    def type(self, text):
        self.keys([(kind, character) for character in text for kind in ["keyDown", "keyUp"]])

    def key(self, key, modifiers=()):
        values = [getattr(Keys, name.upper()) if len(name) > 1 else name for name in [*modifiers, key]]
        self.keys([("keyDown", value) for value in values] + [("keyUp", value) for value in reversed(values)])

    def click(self, selector):  # the pointer pressed in an element's middle
        box = f"document.querySelector('{selector}').getBoundingClientRect()"
        x, y = self.js(f"(({{x, y, width, height}}) => [x + width / 2, y + height / 2].map(Math.round))({box})")
        press = [{"type": f"pointer{way}", "button": 0} for way in ["Down", "Up"]]
        self.actions([{"type": "pointer", "id": "mouse", "actions": [{"type": "pointerMove", "x": x, "y": y}, *press]}])

    def restart(self):  # with what it keeps on disk, less its HTTP cache
        self.stop()
        shutil.rmtree(self.profile / self.http_cache, ignore_errors=True)
        self.start()

    def close(self):
        try:
            self.stop()
        finally:
            shutil.rmtree(self.folder, ignore_errors=True)


class Selenium(Browser):
    driver = service = None

    def drive(self, service, options):
        if not self.service:  # one driver server through restarts
            self.service, service.env = service, self.environment()
            service.start()
        executor = self.service.service_url
        if self.name == "chromium":  # with Chromium's own commands
            executor = ChromiumRemoteConnection(executor, "goog", "chrome")
        # Told the server's address, as the engines' own classes take other arguments in each Selenium.
        self.driver = webdriver.Remote(executor, options=options)
        self.driver.set_script_timeout(TIMEOUT)
        self.driver.set_page_load_timeout(TIMEOUT)

    def evaluate(self, script):
        return self.driver.execute_script(f"return {script}")

    def open(self, url):
        self.driver.get(url)

    def actions(self, actions):
        self.driver.execute(Command.W3C_ACTIONS, {"actions": actions})

    def png(self):
        return self.driver.get_screenshot_as_png()

    def stop(self):
        if self.driver:
            self.errors()  # a new session's log starts empty
            self.driver.quit()
            self.driver = None

    def close(self):
        try:
            super().close()
        finally:
            self.service and self.service.stop()


class Chromium(Selenium):
    name, http_cache = "chromium", "Default/Cache"

    def start(self):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        # On a closed network its own connections are refused, and logged. In a window:
        # --test-type, no bar about --no-sandbox above the page.
        window = "--force-renderer-accessibility --test-type --window-size=1000,800"
        flags = (window if self.screen_reader else "--headless") + " --no-sandbox --disable-gpu --disable-quic"
        for flag in [*flags.split(), "--disable-component-update", f"--user-data-dir={self.profile}"]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.drive(ChromeService("/usr/bin/chromedriver"), options)
        if not self.screen_reader:  # headless, the page would be told it has no focus; in a window, the size is its own
            self.cdp("Emulation.setFocusEmulationEnabled", enabled=True)
            self.set_viewport(WIDTH, HEIGHT)

    def cdp(self, method, **params):  # for what only Chromium can do
        return self.driver.execute("executeCdpCommand", {"cmd": method, "params": params})["value"]

    def set_viewport(self, width, height, scale=1):
        metrics = dict(width=width, height=height, deviceScaleFactor=scale, mobile=False)
        self.cdp("Emulation.setDeviceMetricsOverride", **metrics)

    def element_png(self, selector):  # as drawn
        self.js(PAINTED)
        return self.driver.find_element(By.CSS_SELECTOR, selector).screenshot_as_png

    def pdf(self):
        options = PrintOptions()
        options.background = True
        return base64.b64decode(self.driver.print_page(options))

    def errors(self):  # the console's errors, uncaught exceptions and failed requests, through every restart
        self.logged += [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        return self.logged


class WebKit(Selenium):
    name, http_cache = "webkit", "cache/WebKitCache"  # beside cache/CacheStorage, which stays

    def start(self):
        options = WebKitOptions()
        options.binary_location = str(Path(__file__).resolve().with_name("webkit_browser.py"))
        options.set_capability("browserName", "webkit_browser.py")  # the driver names a browser after its file
        for argument in [self.profile, self.folder / "errors"]:
            options.add_argument(str(argument))
        self.drive(WebKitService("/usr/bin/WebKitWebDriver"), options)
        self.set_viewport(WIDTH, HEIGHT)

    def set_viewport(self, width, height):  # the window holds the view alone, on an X server with no window manager
        self.driver.set_window_size(width, height)
        self.wait_for(f"innerWidth === {width} && innerHeight === {height}", 5)  # else the layout checks fail

    def errors(self):  # as the browser writes them, a JSON string a line, through every restart
        log = self.folder / "errors"
        return [json.loads(line) for line in log.read_text(encoding="utf-8").splitlines()] if log.exists() else []


class Firefox(Browser):
    # By hand, as Selenium reaches Firefox's WebDriver BiDi only through geckodriver, which
    # Debian does not package: a JSON command over a WebSocket, answered by the message with
    # its id; what comes meanwhile is an event, kept for the errors it tells of.
    name, http_cache = "firefox", "cache2"
    process = None
    # Its remote agent itself keeps it off the network, all but the update checks of its
    # media plugins, made half a minute after the start.
    PREFERENCES = 'user_pref("media.gmp-manager.url", "");\nuser_pref("media.gmp-manager.chromium-update-url", "");\n'

    def start(self):
        (self.profile / "user.js").write_text(self.PREFERENCES)
        port_file = self.profile / "WebDriverBiDiServer.json"
        port_file.unlink(missing_ok=True)
        arguments = f"--headless --no-remote --remote-debugging-port=0 --profile {self.profile} about:blank".split()
        # A release build heeds the remote settings server the remote agent sets only with the variable set.
        environment = {**self.environment(), "MOZ_CRASHREPORTER_DISABLE": "1", "MOZ_REMOTE_SETTINGS_DEVTOOLS": "1"}
        with open(self.folder / "log", "ab") as log:
            self.process = subprocess.Popen(["firefox-esr", *arguments], env=environment, stdout=log, stderr=log)
        port = until(lambda: port_file.exists() and port_file.read_text().endswith("}") and port_file.read_text())
        address = f"ws://127.0.0.1:{json.loads(port)['ws_port']}/session"
        self.sent, options = 0, dict(suppress_origin=True, skip_utf8_validation=True, timeout=TIMEOUT)
        self.socket = websocket.create_connection(address, **options)
        self.call("session.new", capabilities={})
        # The tab it starts with is never given the focus, headless: its page would draw
        # neither caret nor focus ring. A tab opened now is.
        first = self.call("browsingContext.getTree", maxDepth=0)["contexts"][0]["context"]
        self.context = self.call("browsingContext.create", type="tab")["context"]
        self.call("browsingContext.close", context=first)
        self.call("session.subscribe", events=["log.entryAdded", "network.fetchError"])
        self.set_viewport(WIDTH, HEIGHT)

    def call(self, method, **params):
        self.sent += 1
        self.socket.send(json.dumps({"id": self.sent, "method": method, "params": params}))
        while (reply := json.loads(self.socket.recv())).get("id") != self.sent:
            self.logged.append(reply)  # an event
        if "error" in reply:
            raise RuntimeError(f"{method}: {reply['error']} {reply.get('message', '')}")
        return reply["result"]

    def stop(self):
        if self.process:
            try:  # asked to end, so that it writes out what it keeps
                self.call("browser.close")
                self.process.wait(TIMEOUT)
            finally:
                self.process.kill()
                self.process.wait()
                self.process = None

    def open(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def evaluate(self, script):
        target = {"context": self.context}
        reply = self.call("script.evaluate", expression=script, target=target, awaitPromise=True)
        if reply["type"] == "exception":
            raise RuntimeError(f"{script}: {reply['exceptionDetails']['text']}")
        return reply["result"].get("value")

    def actions(self, actions):
        self.call("input.performActions", context=self.context, actions=actions)

    def set_viewport(self, width, height):
        self.call("browsingContext.setViewport", context=self.context, viewport={"width": width, "height": height})

    def png(self):
        return base64.b64decode(self.call("browsingContext.captureScreenshot", context=self.context)["data"])

    def errors(self):  # the console's errors and failed requests, less those cut short by a new page
        self.js("0")  # answered after every event sent before it
        events = [event["params"] for event in self.logged]
        failed = [f"not loaded: {e['request']['url']}: {e['errorText']}" for e in events if "errorText" in e]
        logged = [f"{event['type']}: {event['text']}" for event in events if event.get("level") == "error"]
        return logged + [error for error in failed if not error.endswith("NS_BINDING_ABORTED")]
