# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The browsers the web tests and figures drive, each as Debian packages it, behind the
# same few calls: headless Chromium over the DevTools protocol, headless Firefox over
# WebDriver BiDi, and WebKitGTK through its WebDriver on an X server. Each starts on a
# fresh profile of its own, away from the desktop's session and the real home, and a
# browser that hangs fails the test after a timeout instead of blocking it. Chromium
# comes also in a window, for a screen reader to read.
import base64
import contextlib
import json
import os
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import urllib.request
from pathlib import Path

import websocket

TIMEOUT = 30  # seconds
WIDTH, HEIGHT = 1280, 800
# Two frames drawn: after only one the picture may still be of the page before the last key.
PAINTED = "new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => done(true))))"
# For each key pressed that types no character: WebDriver's character for it, and the code
# and Windows key code that a page in Chromium gets as its code and keyCode.
KEYS = {
    "Tab": ("\ue004", "Tab", 9),
    "Enter": ("\ue007", "Enter", 13),
    "Shift": ("\ue008", "ShiftLeft", 16),
    "Control": ("\ue009", "ControlLeft", 17),
    "Delete": ("\ue017", "Delete", 46),
}


def as_json(expression):  # awaited, as JSON text: so Firefox and WebKit give back what Chromium does
    return f"(async () => JSON.stringify(await (\n{expression}\n)))()"


def centre(selector):  # of an element, in the viewport, brought into view if it is not
    return (
        f"(() => {{ const element = document.querySelector({json.dumps(selector)});"
        " element.scrollIntoView({block: 'nearest', inline: 'nearest'});"
        " const {x, y, width, height} = element.getBoundingClientRect();"
        " return [x + width / 2, y + height / 2]; })()"
    )


# The condition's first truthy value, an error of the kinds ignoring taken for none; else
# its last, or, if told what was awaited, an error.
def until(condition, seconds=TIMEOUT, what=None, ignoring=()):
    deadline = time.monotonic() + seconds
    while True:
        value = None
        with contextlib.suppress(*ignoring):
            value = condition()
        if value or time.monotonic() > deadline:
            break
        time.sleep(0.02)
    if not value and what:
        raise TimeoutError(f"{what}: not in {seconds} s")
    return value


def alive(group):  # whether a process group has a process not yet ended (the first process may leave them unreaped)
    for stat in Path("/proc").glob("[0-9]*/stat"):
        with contextlib.suppress(OSError):
            state, _, group_of = stat.read_text().rsplit(")", 1)[1].split()[:3]
            if state != "Z" and int(group_of) == group:
                return True
    return False


def end(process, seconds=TIMEOUT):  # waits for a process to end, then ends its group, asking before forcing
    with contextlib.suppress(subprocess.TimeoutExpired):
        process.wait(seconds)
    for sent in [signal.SIGTERM, signal.SIGKILL]:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, sent)
        if until(lambda: process.poll() is not None and not alive(process.pid), 5):
            break
    process.wait()


def x_server(start):  # started by start(arguments, pass_fds=…), and its display
    # Written into a file rather than a pipe, since the server writes the number and the line
    # feed apart, and would die if the pipe were closed between the two.
    with tempfile.TemporaryFile() as written:
        fd = written.fileno()
        # -noreset: else the server resets whenever its last client leaves, as at a restart.
        options = "-screen 0 1920x1200x24 -nolisten tcp -noreset".split()
        process = start(["Xvfb", "-displayfd", str(fd), *options], pass_fds=[fd])
        until(lambda: os.pread(fd, 16, 0).endswith(b"\n"), what="Xvfb's display")
        return process, ":" + os.pread(fd, 16, 0).decode().strip()


class Channel:
    """JSON commands over a WebSocket, each answered by the message with its id; what
    comes in meanwhile is an event, kept in order in events."""

    def __init__(self, address):
        self.socket = websocket.create_connection(
            address, suppress_origin=True, skip_utf8_validation=True, timeout=TIMEOUT
        )
        self.sent, self.events, self.hung = 0, [], False

    def receive(self):
        try:
            message = self.socket.recv()
        except websocket.WebSocketTimeoutException:
            self.hung = True
            raise TimeoutError(f"no answer in {TIMEOUT} s") from None
        self.hung = False
        return json.loads(message)

    def command(self, method, params, **extra):
        self.sent += 1
        self.socket.send(json.dumps({"id": self.sent, "method": method, "params": params, **extra}))
        while (reply := self.receive()).get("id") != self.sent:
            self.events.append(reply)
        if "error" in reply:
            raise RuntimeError(f"{method}: {reply['error']} {reply.get('message', '')}")
        return reply["result"]

    def wait_for_event(self, method, since):
        deadline = time.monotonic() + TIMEOUT
        while not any(event.get("method") == method for event in self.events[since:]):
            if time.monotonic() > deadline:
                raise TimeoutError(f"no {method} in {TIMEOUT} s")
            self.events.append(self.receive())


class Browser:
    """What the three share: the folder with the profile, how the processes start and
    end, and the calls made of other calls."""

    name = ""

    def __init__(self):
        self.folder = Path(tempfile.mkdtemp(prefix=f"velinora-{self.name}-"))
        self.profile = self.folder / "profile"
        self.profile.mkdir()
        (self.folder / "home").mkdir(mode=0o700)
        # helpers: what a restart keeps, ended last; logged: errors, kept through restarts
        self.process, self.helpers, self.logged = None, [], []
        try:
            self.start()
        except BaseException:
            self.close()
            raise

    def spawn(self, arguments, environment=None, **options):  # leading a process group, its output in the log
        # A home of its own, so that nothing is read from the real one or left in it; no
        # session bus unless given, for GLib would start one, and desktop portals, that
        # outlive the test.
        home = str(self.folder / "home")
        kept = {name: value for name, value in os.environ.items() if not name.startswith(("XDG_", "DBUS_"))}
        no_bus = {"DBUS_SESSION_BUS_ADDRESS": f"unix:path={self.folder}/no-bus"}
        env = {**kept, "HOME": home, "XDG_RUNTIME_DIR": home, **no_bus, **(environment or {})}
        with open(self.folder / "log", "ab") as log:
            return subprocess.Popen(
                arguments, env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True, **options
            )

    def written(self, name, parse):  # what the browser writes into a file of its profile, once it has, and whole
        return until(
            lambda: parse((self.profile / name).read_text()), TIMEOUT, name, (OSError, LookupError, ValueError)
        )

    def wait_for(self, expression, seconds=20):
        return until(lambda: self.js(expression), seconds)

    def screenshot(self, path):
        self.js(PAINTED)
        Path(path).write_bytes(base64.b64decode(self.capture()))

    def restart(self):
        self.stop()
        shutil.rmtree(self.profile / self.http_cache, ignore_errors=True)
        self.start()

    def close(self):
        try:
            self.stop()
        finally:
            for helper in reversed(self.helpers):
                end(helper, 0)
            shutil.rmtree(self.folder, ignore_errors=True)


class OverWebSocket(Browser):
    """Chromium and Firefox: a command channel, and the browser asked to end, so that it
    writes out what it keeps, before it is made to."""

    channel = None

    def stop(self):
        asked = False
        if self.channel and not self.channel.hung:  # else it would only keep the test waiting
            with contextlib.suppress(Exception):  # hung or gone: ended all the same
                self.logged += self.new_errors()
                self.channel.command(self.QUIT, {})
                asked = True
        if self.channel:
            self.channel.socket.close()
            self.channel = None
        if self.process:
            end(self.process, TIMEOUT if asked else 0)
            self.process = None

    def errors(self):
        self.logged += self.new_errors()
        return list(self.logged)

    def new_errors(self):
        self.js("0")  # answered after every event sent before it
        read, self.read = self.read, len(self.channel.events)
        return [error for event in self.channel.events[read:] if (error := self.error_in(event))]


class Chromium(OverWebSocket):
    name = "chromium"
    http_cache = "Default/Cache"
    QUIT = "Browser.close"
    MODIFIERS = {"Control": 2, "Shift": 8}
    COMMANDS = {"a": "selectAll"}  # keys sent this way skip the browser's shortcuts: the editing ones are named

    def __init__(self, screen_reader=False):  # or in a window on the DISPLAY, its page open to a screen reader
        self.screen_reader = screen_reader
        super().__init__()

    def start(self):
        active = self.profile / "DevToolsActivePort"
        active.unlink(missing_ok=True)
        # Without the flags against background networking its own connections are refused
        # on a closed network, and it logs them. In a window: the session bus, through which
        # the accessibility bus is found; --test-type: no bar about --no-sandbox above the page.
        window = "--force-renderer-accessibility --test-type --window-size=1000,800"
        flags = (window if self.screen_reader else "--headless") + " --no-sandbox --disable-gpu --disable-quic"
        flags += " --no-first-run --disable-sync --disable-component-update --disable-background-networking"
        bus = {"DBUS_SESSION_BUS_ADDRESS": os.environ["DBUS_SESSION_BUS_ADDRESS"]} if self.screen_reader else {}
        arguments = ["chromium", *flags.split(), "--remote-debugging-port=0", f"--user-data-dir={self.profile}"]
        self.process = self.spawn([*arguments, "about:blank"], bus)
        port, path = self.written(active.name, lambda text: text.splitlines()[1] and text.split()[:2])
        self.channel, self.session, self.read = Channel(f"ws://127.0.0.1:{port}{path}"), None, 0
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ["Page", "Runtime", "Log"]:
            self.call(f"{domain}.enable")
        if not self.screen_reader:  # headless, the page would be told it has no focus; in a window, the size is its own
            self.call("Emulation.setFocusEmulationEnabled", enabled=True)
            self.set_viewport(WIDTH, HEIGHT)

    @property
    def events(self):
        return self.channel.events

    def call(self, method, **params):  # to the page, once it is attached
        return self.channel.command(method, params, **({"sessionId": self.session} if self.session else {}))

    def load(self, method, **params):  # Page.navigate or Page.reload, until the new page has loaded
        seen = len(self.events)
        reply = self.call(method, **params)
        if "errorText" in reply:
            raise RuntimeError(f"{method} {params}: {reply['errorText']}")
        if method == "Page.reload" or "loaderId" in reply:  # none when only the fragment changed: no new page
            self.channel.wait_for_event("Page.loadEventFired", seen)

    def open(self, url):
        self.load("Page.navigate", url=url)

    def reload(self):
        self.load("Page.reload")

    def js(self, expression):
        reply = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if details := reply.get("exceptionDetails"):
            raise RuntimeError(f"{expression}: {details.get('exception', {}).get('description', details['text'])}")
        return reply["result"].get("value")

    def type(self, text):
        for character in text:
            self.call("Input.dispatchKeyEvent", type="keyDown", key=character, text=character)
            self.call("Input.dispatchKeyEvent", type="keyUp", key=character)

    def press(self, kind, key, held, text="", commands=()):  # held: the modifiers' bits
        if len(key) > 1:
            code, keycode = KEYS[key][1:]
        else:  # a letter or a digit
            code, keycode = ("Key" if key.isalpha() else "Digit") + key.upper(), ord(key.upper())
        params = dict(type=kind, key=key, code=code, windowsVirtualKeyCode=keycode, text=text, modifiers=held)
        self.call("Input.dispatchKeyEvent", **params, commands=list(commands))

    def key(self, key, modifiers=()):
        if "Shift" in modifiers and len(key) == 1:
            key = key.upper()
        text = "\r" if key == "Enter" else key if len(key) == 1 and "Control" not in modifiers else ""
        commands = [self.COMMANDS[key]] if list(modifiers) == ["Control"] and key in self.COMMANDS else []
        held = 0
        for modifier in modifiers:
            held |= self.MODIFIERS[modifier]
            self.press("rawKeyDown", modifier, held)
        self.press("keyDown", key, held, text, commands)
        self.press("keyUp", key, held)
        for modifier in reversed(modifiers):
            held &= ~self.MODIFIERS[modifier]
            self.press("keyUp", modifier, held)

    def click(self, selector):
        x, y = self.js(centre(selector))
        for kind in ["mousePressed", "mouseReleased"]:
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def set_viewport(self, width, height):
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1, mobile=False)

    def capture(self):
        return self.call("Page.captureScreenshot", format="png")["data"]

    @staticmethod
    def error_in(event):
        params = event.get("params", {})
        if event.get("method") == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            return details.get("exception", {}).get("description") or details["text"]
        if event.get("method") == "Log.entryAdded" and params["entry"]["level"] == "error":
            return f"{params['entry']['text']} {params['entry'].get('url', '')}".strip()
        if event.get("method") == "Runtime.consoleAPICalled" and params["type"] == "error":
            return " ".join(str(arg.get("value", arg.get("description", ""))) for arg in params["args"])


class WebDriverInput:
    """Keys and the pointer as WebDriver's actions, the same for Firefox and WebKit."""

    def keys(self, presses):
        actions = [dict(type=kind, value=value) for kind, value in presses]
        self.actions([{"type": "key", "id": "keyboard", "actions": actions}])

    def type(self, text):
        self.keys([(kind, character) for character in text for kind in ["keyDown", "keyUp"]])

    def key(self, key, modifiers=()):
        values = [KEYS[name][0] if len(name) > 1 else name for name in [*modifiers, key]]
        self.keys([("keyDown", value) for value in values] + [("keyUp", value) for value in reversed(values)])

    def click(self, selector):
        x, y = self.js(centre(selector))
        move = {"type": "pointerMove", "x": int(x), "y": int(y), "origin": "viewport"}
        presses = [move, {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]
        self.actions([{"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"}, "actions": presses}])


class Firefox(WebDriverInput, OverWebSocket):
    name = "firefox"
    http_cache = "cache2"
    QUIT = "browser.close"
    # Its remote agent, there for WebDriver BiDi, itself sets what keeps it off the network,
    # all but the update checks of its media plugins, made half a minute after the start.
    PREFERENCES = {"media.gmp-manager.url": '""', "media.gmp-manager.chromium-update-url": '""'}

    def start(self):
        (self.profile / "user.js").write_text("".join(f'user_pref("{n}", {v});\n' for n, v in self.PREFERENCES.items()))
        port_file = self.profile / "WebDriverBiDiServer.json"
        port_file.unlink(missing_ok=True)
        arguments = ["--headless", "--no-remote", "--profile", str(self.profile), "--remote-debugging-port=0"]
        # A release build heeds the remote settings server the remote agent sets only with the variable set.
        environment = {"MOZ_CRASHREPORTER_DISABLE": "1", "MOZ_REMOTE_SETTINGS_DEVTOOLS": "1"}
        self.process = self.spawn(["firefox-esr", *arguments, "about:blank"], environment)
        port = self.written(port_file.name, lambda text: json.loads(text)["ws_port"])
        self.channel, self.read = Channel(f"ws://127.0.0.1:{port}/session"), 0
        self.call("session.new", capabilities={})
        # The tab it starts with is never given the focus, headless: its page would draw
        # neither caret nor focus ring. A tab opened now is.
        first = self.call("browsingContext.getTree", maxDepth=0)["contexts"][0]["context"]
        self.context = self.call("browsingContext.create", type="tab")["context"]
        self.call("browsingContext.close", context=first)
        self.call("session.subscribe", events=["log.entryAdded", "network.fetchError"])
        self.set_viewport(WIDTH, HEIGHT)

    def call(self, method, **params):
        return self.channel.command(method, params)

    def open(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def reload(self):
        self.call("browsingContext.reload", context=self.context, wait="complete")

    def js(self, expression):
        target = {"context": self.context}
        reply = self.call("script.evaluate", expression=as_json(expression), target=target, awaitPromise=True)
        if reply["type"] == "exception":
            raise RuntimeError(f"{expression}: {reply['exceptionDetails']['text']}")
        return json.loads(reply["result"]["value"]) if reply["result"]["type"] == "string" else None

    def actions(self, actions):
        self.call("input.performActions", context=self.context, actions=actions)

    def set_viewport(self, width, height):
        self.call("browsingContext.setViewport", context=self.context, viewport={"width": width, "height": height})

    def capture(self):
        return self.call("browsingContext.captureScreenshot", context=self.context, origin="viewport")["data"]

    @staticmethod
    def error_in(event):
        if event.get("method") == "log.entryAdded" and event["params"]["level"] == "error":
            return f"{event['params']['type']}: {event['params']['text']}"
        # Any request that fails, as the others report one; less those cut short by a new page.
        if event.get("method") == "network.fetchError" and event["params"]["errorText"] != "NS_BINDING_ABORTED":
            return f"not loaded: {event['params']['request']['url']}: {event['params']['errorText']}"


class WebKit(WebDriverInput, Browser):
    name = "webkit"
    http_cache = "cache/WebKitCache"  # beside cache/CacheStorage, which stays
    BROWSER = Path(__file__).resolve().with_name("webkit_browser.py")

    display = session = None

    def start(self):
        self.display = self.display or os.environ.get("DISPLAY")
        if not self.display:  # one of its own, kept through restarts
            xvfb, self.display = x_server(self.spawn)
            self.helpers.append(xvfb)
        with socket.socket() as free:  # a port for the driver, free a moment ago
            free.bind(("127.0.0.1", 0))
            port = free.getsockname()[1]
        self.address = f"http://127.0.0.1:{port}"
        self.process = self.spawn(["WebKitWebDriver", f"--port={port}"], dict(DISPLAY=self.display, GDK_BACKEND="x11"))
        until(lambda: self.request("GET", "/status")["ready"], what="WebKitWebDriver", ignoring=(OSError, RuntimeError))
        args = ["--profile", str(self.profile), "--errors", str(self.folder / "errors")]
        timeouts = {"script": TIMEOUT * 1000, "pageLoad": TIMEOUT * 1000, "implicit": 0}
        options = {"webkitgtk:browserOptions": {"binary": str(self.BROWSER), "args": args}, "timeouts": timeouts}
        self.session = self.request("POST", "/session", {"capabilities": {"alwaysMatch": options}})["sessionId"]
        self.set_viewport(WIDTH, HEIGHT)

    def stop(self):
        if self.session:
            with contextlib.suppress(Exception):  # the driver closes the browser's windows, and so ends it
                self.call("DELETE", "")
            self.session = None
        if self.process:
            end(self.process, 0)
            self.process = None

    def request(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.address + path, data, {"Content-Type": "application/json"}, method=method)
        try:
            with urllib.request.urlopen(request, timeout=TIMEOUT + 5) as response:
                return json.load(response)["value"]
        except urllib.request.HTTPError as error:
            value = json.load(error)["value"]
            raise RuntimeError(f"{method} {path}: {value['error']}: {value['message']}") from None
        except TimeoutError:
            raise TimeoutError(f"{method} {path}: no answer in {TIMEOUT + 5} s") from None

    def call(self, method, path, body=None):
        return self.request(method, f"/session/{self.session}{path}", body)

    def load(self, path, body):  # raising, as the others do, if the page could not be opened
        seen = len(self.errors())
        self.call("POST", path, body)
        if failures := [error for error in self.errors()[seen:] if error.startswith("not opened: ")]:
            raise RuntimeError(failures[0])

    def open(self, url):
        self.load("/url", {"url": url})

    def reload(self):
        self.load("/refresh", {})

    def js(self, expression):
        # Unlike in the others, the page's Content-Security-Policy holds here too: no eval().
        script = {"script": f"return {as_json(expression)}", "args": []}
        return json.loads(self.call("POST", "/execute/sync", script) or "null")

    def actions(self, actions):
        self.call("POST", "/actions", {"actions": actions})

    def set_viewport(self, width, height):
        # The window holds the view alone, so that their sizes are the same; a window
        # manager on a DISPLAY given may yet frame it, and then the frame is added.
        frame = [0, 0]
        for _ in range(3):
            self.call("POST", "/window/rect", {"width": width + frame[0], "height": height + frame[1]})
            self.wait_for(f"innerWidth === {width} && innerHeight === {height}", 2)
            inner = self.js("[innerWidth, innerHeight]")
            if inner == [width, height]:
                return
            frame = [frame[0] + width - inner[0], frame[1] + height - inner[1]]
        raise RuntimeError(f"the viewport is {inner}, not {[width, height]}")

    def capture(self):
        return self.call("GET", "/screenshot")

    def errors(self):  # as the browser writes them, a JSON string a line, through every restart
        log = self.folder / "errors"
        lines = log.read_text(encoding="utf-8").splitlines(keepends=True) if log.exists() else []
        return [json.loads(line) for line in lines if line.endswith("\n")]
