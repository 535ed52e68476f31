#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What a blind user hears: Orca reads the built site in Chromium, in the private X session
# that scripts/x-session starts, and speaks through speech-dispatcher into ALSA's null
# device. The keys are real X key events; what Orca says is read from its debug log as it
# writes it. Heard: the name box's label whenever it gets the focus, each
# announcement, the same one twice too, the result box line by line from its first line, no
# "read only", no description repeated at each Tab, and the page's language, which Orca
# asks a voice for.
#   x-session screen_reader_test.py SITE    (SITE as scripts/web --build-only builds it)
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import tty
from pathlib import Path

import host
import oracles
from engines import Chromium, until

SITE = sys.argv[1]
NAME_BOX, BUTTON, RESULT_BOX = "Въведете името си", "Анализирай", "Анализ на името"
DESCRIPTION = "Enter започва анализа."
ANALYSED, NO_NAME = oracles.announcement("Ива"), oracles.announcement("")
MODES = {"Browse mode", "Focus mode"}  # what Orca says of itself as the focus moves between controls
READ_ONLY = ("read only", "само за четене")
# A record of Orca's log starts with the time; its further lines are indented by 18 spaces.
SPOKEN = re.compile(r"\d\d:\d\d:\d\d\.\d{6} - SPEECH OUTPUT: '(.*?)'(?: voice=\S+)? ?(\{.*\})?", re.S)
LANGUAGE = re.compile(r"SPEECH GENERATOR: \S+ voice requested with language='(?!None')([^']*)'")
endings, failures, transcript = [], [], []  # the transcript: keys pressed, and what Orca said


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def line(text):  # Orca 43 ends a line that it reads alone with a full stop, Orca 48 with its line feed
    return text.strip().removesuffix(".")


def but_modes(said):
    return [text for text in said if text not in MODES]


def focus_on(name):  # whether Orca said a control's name, then its role
    return lambda said: any(text.startswith(name + " ") for text in said)


def name_box(said):  # whether Orca said the name box's label, and its description
    return [focus_on(NAME_BOX)(said), DESCRIPTION in said]


def start(arguments, **options):  # quiet unless told, in a process group of its own, for the end to end all it starts
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    program = subprocess.Popen(arguments, process_group=0, stdin=subprocess.DEVNULL, **{**quiet, **options})
    # Reaped, not only killed: Orca will not start while another is left, even a zombie.
    endings.append(lambda: subprocess.run(["kill", "-KILL", "--", f"-{program.pid}"]) and program.wait())
    return program


# Orca's debug log, read while Orca writes it. Orca opens it with open(name, "w"), which
# writes whole blocks unless the file is a terminal: so the file is a pseudo-terminal's.
class OrcaLog:
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

    def said(self, since):  # what Orca spoke from the record numbered since on, without the spaces around it
        return [match[1].strip() for record in self.records[since:] if (match := SPOKEN.fullmatch(record))]

    def languages(self, since):  # those Orca asked voices for, for text that has one
        return [match[1] for record in self.records[since:] if (match := LANGUAGE.search(record))]

    def settle(self):  # until Orca has written nothing for a moment: it has done with a key
        until(lambda: time.monotonic() - self.changed > 0.3, 3)


def start_speech(home):
    # Orca in English whatever the locale, for its own words to be known; all settings fresh.
    os.environ.pop("LANGUAGE", None)
    folders = dict(XDG_CONFIG_HOME="config", XDG_DATA_HOME="data", XDG_CACHE_HOME="cache")
    os.environ.update({name: f"{home}/{folder}" for name, folder in folders.items()}, HOME=home, LC_ALL="C.UTF-8")
    config, socket = f"{home}/config/speech-dispatcher", f"{home}/speechd.sock"
    os.environ.update(LANG="C.UTF-8", SPEECHD_ADDRESS=f"unix_socket:{socket}")
    for folder in [*folders.values(), config, "orca"]:
        Path(home, folder).mkdir(parents=True, mode=0o700)
    # ALSA's null device, since through PulseAudio, where there is none, it would hang; and no
    # second speech-dispatcher started by Orca's client, beyond the test's reach.
    module = '"espeak-ng" "sd_espeak-ng" "/etc/speech-dispatcher/modules/espeak-ng.conf"'
    output = 'AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDisableAutoSpawn\n'
    Path(config, "speechd.conf").write_text(f'{output}AddModule {module}\nDefaultModule "espeak-ng"\n')
    options = ["--config-dir", config, "--socket-path", socket, "--log-dir", f"{home}/cache"]
    start(["speech-dispatcher", *"--run-single --timeout 0 --communication-method unix_socket".split(), *options])
    if not until(lambda: Path(socket).exists(), 20):
        raise RuntimeError("speech-dispatcher did not start")


def start_orca(home, log):
    # Key echo off: what is left is what the page makes Orca say.
    options = [*"--enable speech --disable key-echo --disable braille --debug-file".split(), log.name]
    with open(f"{home}/orca.out", "w") as output:
        orca = start(["orca", "--user-prefs", f"{home}/orca", *options], stdout=output, stderr=output)
    # Chromium comes once Orca listens: Orca 48 loses a window that is there when it starts.
    started = re.compile(r"ORCA: Starting (registry|Atspi main event loop)")
    until(lambda: orca.poll() is not None or any(started.search(record) for record in log.records), 30)
    if orca.poll() is not None or not any(started.search(record) for record in log.records):
        raise RuntimeError("Orca did not start: " + Path(home, "orca.out").read_text()[-2000:])


def session(home):
    log = OrcaLog()
    start_speech(home)
    start_orca(home, log)
    # Its page's own state through WebDriver: to know when to go on, and what the result
    # box holds, never what is heard.
    page = Chromium(screen_reader=True)
    endings.append(page.close)
    # The page opened only once Orca has heard Chromium's first tab load: Orca 48 ignores a
    # load that closely follows another, and would go on taking that tab's document, soon
    # gone, for the window's, and the page's live region for one in another tab.
    until(lambda: any("document:load-complete" in record for record in log.records), 20)
    log.settle()
    page.open(host.start(SITE).origin + "/")

    def value(id):
        return page.js(f"document.getElementById('{id}').value")

    # Presses the keys, waits until Orca said what heard() looks for, then until it is
    # quiet, and gives back all it said meanwhile.
    def press(keys, heard):
        since = len(log.records)
        for key in keys.split():
            # The modifier held a moment first: Orca learns of it late, and takes Ctrl+End for End.
            *modifiers, key = key.split("+")
            down, up = (["keydown", *modifiers, "sleep", "0.1"], ["keyup", *modifiers]) if modifiers else ([], [])
            subprocess.run(["xdotool", *down, "key", key, *up], check=True, timeout=10)
        until(lambda: heard(log.said(since)), 5)
        log.settle()
        transcript.append((keys, log.said(since)))
        return log.said(since)

    def type_name(name):  # letter by letter, each waited for, since Orca may hold keys back a moment
        for count in range(1, len(name) + 1):
            subprocess.run(["xdotool", "type", "--", name[count - 1]], check=True, timeout=10)
            if not until(lambda: value("name") == name[:count], 5):
                raise RuntimeError(f"the name box got {value('name')!r} of {name!r}")
        log.settle()

    # At the start the focus is in the name box: its label is said, and its description,
    # which shows that descriptions are spoken where there are some.
    check("the page gets ready", page.wait_for("document.getElementById('result').ariaBusy === null", 30), True)
    until(lambda: focus_on(NAME_BOX)(log.said(0)), 20)
    log.settle()
    transcript.append(("(start)", said := log.said(0)))
    check("at the start, the name box's label and description", name_box(said), [True, True])

    type_name("Ива")
    for count in ("first", "second"):
        said = press("Return", lambda said: ANALYSED in said)
        check(f"the announcement after Enter, the {count} time", said.count(ANALYSED), 1)

    # Tab, Tab: the button says its name and role only; the result box the same, then its
    # first line; Down the next line, the paragraph up to where the box wraps it.
    lines = [line(text) for text in value("result").split("\n")]
    said = but_modes(press("Tab", focus_on(BUTTON)))
    check("Tab to the button: its name and role alone", [len(said), focus_on(BUTTON)(said)], [1, True])
    since = len(log.records)
    said = but_modes(press("Tab", focus_on(RESULT_BOX)))
    heard = [focus_on(RESULT_BOX)(said[:1]), [line(text) for text in said[1:]]]
    check("Tab again, to the result box: its name and role, then its first line alone", heard, [True, lines[:1]])
    said = [line(text) for text in press("Down", bool)]
    wrapped = bool(said) and 0 < len(said[0]) < len(lines[1]) and lines[1].startswith(said[0])
    check("Down from the first line: the paragraph, up to where the box wraps it", [len(said), wrapped], [1, True])
    # Orca asks a voice for the language that the page gives its text.
    check("the language asked for the result box's text", set(log.languages(since)), {"bg"})
    said = [line(text) for text in press("ctrl+End", bool)]
    check("Ctrl+End: the end of the last paragraph", [len(said), bool(said) and lines[-1].endswith(said[0])], [1, True])
    check("Ctrl+Home: the first line", [line(text) for text in press("ctrl+Home", bool)], lines[:1])

    said = but_modes(press("shift+Tab", focus_on(BUTTON)))
    check("Shift+Tab back to the button: its name and role alone", [len(said), focus_on(BUTTON)(said)], [1, True])
    said = press("shift+Tab", focus_on(NAME_BOX))
    check("Shift+Tab back to the name box: its label and description", name_box(said), [True, True])

    press("ctrl+a BackSpace", lambda said: False)
    check("the name box emptied", page.wait_for("document.getElementById('name').value === ''", 5), True)
    for count in ("first", "second"):
        said = press("Return", lambda said: NO_NAME in said)
        check(f"the announcement after Enter with no name, the {count} time", said.count(NO_NAME), 1)

    read_only = [text for text in log.said(0) if any(words in text.lower() for words in READ_ONLY)]
    check("what was said of reading only", read_only, [])


began, home = time.monotonic(), tempfile.mkdtemp(prefix="velinora-orca-")
try:
    session(home)
except Exception as error:  # a hang or a broken step, reported as what it is
    failures.append(f"the session broke off: {error}")
finally:
    for ending in reversed(endings):  # Chromium first, asked to close; each program's process group
        ending()
    shutil.rmtree(home, ignore_errors=True)
if failures:
    print("What Orca said:", *(f"  {keys}: {said}" for keys, said in transcript), sep="\n")
passed = 0 if failures else 1
print(*failures, f"in {time.monotonic() - began:.0f} s", f"{passed} passed, {1 - passed} failed", sep="\n")
sys.exit(1 if failures else 0)
