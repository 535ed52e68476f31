#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What a blind user hears: Orca reads the built site in Chromium, on an X server, a session
# bus and an accessibility bus of the test's own, and speaks through speech-dispatcher into
# ALSA's null device. The keys are real X key events; what Orca says is read from its debug
# log as it writes it. Heard: the name box's label whenever it gets the focus, each
# announcement, the same one twice too, the result box line by line from its first line, no
# "read only", no description repeated at each Tab, and the page's language, which Orca
# asks a voice for.
#   screen_reader_test.py SITE    (SITE as scripts/web --build-only builds it; the test runs
#                                  itself in dbus-run-session)
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import tty
from pathlib import Path

import websocket

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "web"))
import serve  # noqa: E402

OWN_BUSES = "VELINORA_SCREEN_READER_BUSES"
if not os.environ.get(OWN_BUSES):
    os.execvpe(
        "dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv], {**os.environ, OWN_BUSES: "1"}
    )

SITE = sys.argv[1]
NAME_BOX, BUTTON, RESULT_BOX = "Въведете името си", "Анализирай", "Анализ на името"
DESCRIPTION = "Enter започва анализа."
ANALYSED = "Анализът е готов. Анализирани букви: 3. Натиснете Tab два пъти, за да го прочетете."
NO_NAME = "Не е въведено име, затова няма анализ."
MODES = {"Browse mode", "Focus mode"}  # what Orca says of itself as the focus moves between controls
READ_ONLY = ("read only", "само за четене")
# On an X server, for Orca to read it; --test-type: no bar about --no-sandbox above the page.
CHROMIUM = (
    "--force-renderer-accessibility --test-type --no-sandbox --disable-gpu --disable-quic --no-first-run"
    " --disable-background-networking --disable-component-update --disable-sync --remote-debugging-port=0"
    " --window-size=1000,800"
)
# A record of Orca's log starts with the time; its further lines are indented by 18 spaces.
RECORD = re.compile(r"\d\d:\d\d:\d\d\.\d{6} - ")
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\S+)? ?(\{.*\})?", re.S)
LANGUAGE = re.compile(r"SPEECH GENERATOR: \S+ voice requested with language='([^']*)'")
programs, failures, transcript = [], [], []  # the transcript: keys pressed, and what Orca said


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def wait_for(find, seconds):
    deadline = time.monotonic() + seconds
    while not (found := find()) and time.monotonic() < deadline:
        time.sleep(0.02)
    return found


def line(text):  # Orca 43 ends a line that it reads alone with a full stop, Orca 48 with its line feed
    return text.strip().removesuffix(".")


def but_modes(said):
    return [text for text in said if text not in MODES]


def focus_on(name):  # whether Orca said a control's name, then its role
    return lambda said: any(text.startswith(name + " ") for text in said)


def start(arguments, **options):  # in a process group of its own, for the end to end all it starts
    programs.append(subprocess.Popen(arguments, process_group=0, stdin=subprocess.DEVNULL, **options))
    return programs[-1]


class OrcaLog:
    """Orca's debug log, read while Orca writes it. Orca opens it with open(name, "w"), which
    writes whole blocks unless the file is a terminal: so the file is a pseudo-terminal's."""

    def __init__(self):
        self.records, self.changed = [], time.monotonic()
        self.master, self.terminal = os.openpty()
        tty.setraw(self.terminal)  # no echo, no carriage returns
        self.name = os.ttyname(self.terminal)
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        rest = b""
        while True:
            try:
                data = os.read(self.master, 1 << 16)
            except OSError:
                return
            *lines, rest = (rest + data).split(b"\n")
            for text in (raw.decode(errors="replace") for raw in lines):
                if text.startswith(" " * 18) and self.records:
                    self.records[-1] += "\n" + text[18:]
                else:
                    self.records.append(text)
            self.changed = time.monotonic()

    def mark(self):
        return len(self.records)

    def said(self, since):  # what Orca spoke since a mark, without the spaces around it
        return [
            match[1].strip()
            for record in self.records[since:]
            if (match := RECORD.match(record)) and (match := SPOKEN.fullmatch(record, match.end()))
        ]

    def languages(self, since):  # those Orca asked voices for, for text that has one
        return [
            match[1] for record in self.records[since:] if (match := LANGUAGE.search(record)) and match[1] != "None"
        ]

    def settle(self):  # until Orca has written nothing for a moment: it has done with a key
        wait_for(lambda: time.monotonic() - self.changed > 0.3, 3)


class Page:
    """The page's own state over the DevTools protocol: to know when to go on, and what the
    result box holds, never what is heard."""

    def __init__(self, profile):
        active = Path(profile, "DevToolsActivePort")
        port = wait_for(lambda: active.exists() and active.read_text().split()[:2], 30)
        if len(port or []) < 2:
            raise RuntimeError("Chromium did not start")
        self.socket = websocket.create_connection(
            f"ws://127.0.0.1:{port[0]}{port[1]}", suppress_origin=True, timeout=30
        )
        self.sent, self.session = 0, None
        pages = wait_for(lambda: [t for t in self.call("Target.getTargets")["targetInfos"] if t["type"] == "page"], 30)
        self.session = self.call("Target.attachToTarget", targetId=pages[0]["targetId"], flatten=True)["sessionId"]

    def call(self, method, **params):
        self.sent += 1
        session = {"sessionId": self.session} if self.session else {}
        self.socket.send(json.dumps({"id": self.sent, "method": method, "params": params, **session}))
        while (reply := json.loads(self.socket.recv())).get("id") != self.sent:
            pass
        if "error" in reply:
            raise RuntimeError(f"{method}: {reply['error']}")
        return reply["result"]

    def js(self, expression):
        return self.call("Runtime.evaluate", expression=expression, returnByValue=True)["result"].get("value")

    def value(self, id):
        return self.js(f"document.getElementById('{id}').value")


def start_desktop(home):
    read, write = os.pipe()
    start(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
        pass_fds=[write],
        stderr=subprocess.DEVNULL,
    )
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    os.close(write)
    # With Cyrillic in the keymap xdotool types it directly rather than remapping spare keys.
    subprocess.run(["setxkbmap", "-layout", "us,bg"], check=True, timeout=30)
    # Orca in English whatever the locale, for its own words to be known; all settings fresh.
    os.environ.pop("LANGUAGE", None)
    os.environ.update(
        {
            "HOME": home,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "XDG_CONFIG_HOME": f"{home}/config",
            "XDG_DATA_HOME": f"{home}/data",
            "XDG_CACHE_HOME": f"{home}/cache",
            "XDG_RUNTIME_DIR": f"{home}/run",
            "SPEECHD_ADDRESS": f"unix_socket:{home}/speechd.sock",
        }
    )
    for folder in ("config/speech-dispatcher", "data", "cache", "run", "orca"):
        Path(home, folder).mkdir(parents=True, mode=0o700)
    # ALSA's null device, since through PulseAudio, where there is none, it would hang; and no
    # second speech-dispatcher started by Orca's client, beyond the test's reach.
    Path(home, "config/speech-dispatcher/speechd.conf").write_text(
        'AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDisableAutoSpawn\n'
        'AddModule "espeak-ng" "sd_espeak-ng" "/etc/speech-dispatcher/modules/espeak-ng.conf"\n'
        'DefaultModule "espeak-ng"\n'
    )
    options = "--run-single --timeout 0 --communication-method unix_socket".split()
    start(
        [
            "speech-dispatcher",
            *options,
            "--config-dir",
            f"{home}/config/speech-dispatcher",
            "--socket-path",
            f"{home}/speechd.sock",
            "--log-dir",
            f"{home}/cache",
        ],
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    if not wait_for(lambda: Path(home, "speechd.sock").exists(), 20):
        raise RuntimeError("speech-dispatcher did not start")


def start_orca(home, log):
    # Key echo off: what is left is what the page makes Orca say.
    with open(f"{home}/orca.out", "w") as output:
        options = "--enable speech --disable key-echo --disable braille".split()
        orca = start(
            ["orca", "--user-prefs", f"{home}/orca", *options, "--debug-file", log.name], stdout=output, stderr=output
        )
    # Chromium comes once Orca listens: Orca 48 loses a window that is there when it starts.
    started = re.compile(r"ORCA: Starting (registry|Atspi main event loop)")
    wait_for(lambda: orca.poll() is not None or any(started.search(record) for record in log.records), 30)
    if orca.poll() is not None or not any(started.search(record) for record in log.records):
        raise RuntimeError("Orca did not start: " + Path(home, "orca.out").read_text()[-2000:])


def start_chromium(home, address):
    profile = f"{home}/chromium"
    start(
        ["chromium", *CHROMIUM.split(), "--user-data-dir=" + profile, address],
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    return Page(profile)


def session(home):
    log = OrcaLog()
    start_desktop(home)
    server = serve.start(SITE)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    start_orca(home, log)
    page = start_chromium(home, f"http://127.0.0.1:{server.server_port}/")

    def press(keys, until):
        """Presses the keys, waits until Orca said what until() looks for, then until it is
        quiet, and gives back all it said meanwhile."""
        since = log.mark()
        for key in keys.split():
            # The modifier held a moment first: Orca learns of it late, and takes Ctrl+End for End.
            *modifiers, key = key.split("+")
            holding = ["keydown", *modifiers, "sleep", "0.1"] if modifiers else []
            subprocess.run(
                ["xdotool", *holding, "key", key, *(["keyup", *modifiers] if modifiers else [])], check=True, timeout=10
            )
        wait_for(lambda: until(log.said(since)), 5)
        log.settle()
        transcript.append((keys, log.said(since)))
        return log.said(since)

    def type_name(name):  # letter by letter, each waited for, since Orca may hold keys back a moment
        for count in range(1, len(name) + 1):
            subprocess.run(["xdotool", "type", "--", name[count - 1]], check=True, timeout=10)
            if not wait_for(lambda: page.value("name") == name[:count], 5):
                raise RuntimeError(f"the name box got {page.value('name')!r} of {name!r}")
        log.settle()

    # At the start the focus is in the name box: its label is said, and its description,
    # which shows that descriptions are spoken where there are some.
    check("the page gets ready", wait_for(lambda: page.js("!document.getElementById('analyse').disabled"), 30), True)
    wait_for(lambda: focus_on(NAME_BOX)(log.said(0)), 20)
    log.settle()
    transcript.append(("(start)", said := log.said(0)))
    check(
        "at the start, the name box's label and description",
        [focus_on(NAME_BOX)(said), DESCRIPTION in said],
        [True, True],
    )

    type_name("Ива")
    for count in ("first", "second"):
        said = press("Return", lambda said: ANALYSED in said)
        check(f"the announcement after Enter, the {count} time", said.count(ANALYSED), 1)

    # Tab, Tab: the button says its name and role only; the result box the same, then its
    # first line; Down the next line, the paragraph up to where the box wraps it.
    lines = [line(text) for text in page.value("result").split("\n")]
    said = but_modes(press("Tab", focus_on(BUTTON)))
    check("Tab to the button: its name and role alone", [len(said), focus_on(BUTTON)(said)], [1, True])
    since = log.mark()
    said = but_modes(press("Tab", focus_on(RESULT_BOX)))
    check(
        "Tab again, to the result box: its name and role, then its first line alone",
        [focus_on(RESULT_BOX)(said[:1]), [line(text) for text in said[1:]]],
        [True, lines[:1]],
    )
    said = [line(text) for text in press("Down", bool)]
    check(
        "Down from the first line: the paragraph, up to where the box wraps it",
        [len(said), bool(said) and 0 < len(said[0]) < len(lines[1]) and lines[1].startswith(said[0])],
        [1, True],
    )
    # Orca asks a voice for the language that the page gives its text.
    check("the language asked for the result box's text", set(log.languages(since)), {"bg"})
    said = [line(text) for text in press("ctrl+End", bool)]
    check("Ctrl+End: the end of the last paragraph", [len(said), bool(said) and lines[-1].endswith(said[0])], [1, True])
    check("Ctrl+Home: the first line", [line(text) for text in press("ctrl+Home", bool)], lines[:1])

    said = but_modes(press("shift+Tab", focus_on(BUTTON)))
    check("Shift+Tab back to the button: its name and role alone", [len(said), focus_on(BUTTON)(said)], [1, True])
    said = press("shift+Tab", focus_on(NAME_BOX))
    check(
        "Shift+Tab back to the name box: its label and description",
        [focus_on(NAME_BOX)(said), DESCRIPTION in said],
        [True, True],
    )

    press("ctrl+a BackSpace", lambda said: False)
    check("the name box emptied", wait_for(lambda: page.value("name") == "", 5), True)
    for count in ("first", "second"):
        said = press("Return", lambda said: NO_NAME in said)
        check(f"the announcement after Enter with no name, the {count} time", said.count(NO_NAME), 1)

    check(
        "what was said of reading only",
        [text for text in log.said(0) if any(words in text.lower() for words in READ_ONLY)],
        [],
    )


def stop():
    for program in reversed(programs):
        try:
            os.killpg(program.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
    for program in reversed(programs):
        try:
            program.wait(5)
        except subprocess.TimeoutExpired:
            os.killpg(program.pid, signal.SIGKILL)
            program.wait()


began, home = time.monotonic(), tempfile.mkdtemp(prefix="velinora-orca-")
try:
    session(home)
except Exception as error:  # a hang or a broken step, reported as what it is
    failures.append(f"the session broke off: {error}")
finally:
    stop()
    shutil.rmtree(home, ignore_errors=True)
if failures:
    print("What Orca said:", *(f"  {keys}: {said}" for keys, said in transcript), sep="\n")
print(
    *failures,
    f"in {time.monotonic() - began:.0f} s",
    f"{0 if failures else 1} passed, {1 if failures else 0} failed",
    sep="\n",
)
sys.exit(1 if failures else 0)
