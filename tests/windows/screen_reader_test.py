#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows screen reader gets of the program through UI Automation, under Wine on
# the X server and prefix that scripts/x-session gives, read by uia_client.exe: the tree a
# reader walks element by element, the focus as Tab and Shift+Tab move it, and what is
# announced after an analysis. Wine 10 does not deliver a program's notifications: it
# logs each one under WINEDEBUG=fixme+uiautomation, with as much of its text as fits in
# a line (some 75 Cyrillic letters), and that log is where the announcement is read.
#   screen_reader_test.py PROGRAM UIA_CLIENT
import os
import queue
import re
import subprocess
import sys
import tempfile
import threading

import oracles
from Xlib import display

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from checks import check, named, report, shown_window, wait_for  # noqa: E402

PROGRAM, CLIENT = sys.argv[1:3]
TITLE = "ВЕЛИНОРА"
# Each analysis is announced, the same name twice and an empty name twice too, as the
# core words it.
ANNOUNCED = [(name, oracles.announcement(name)) for name in ["Анна-Мария Петрова"] * 2 + [""] * 2]
# Every element a reader stops on, before and after an analysis alike: the focus is in
# the name box, the result box is one element and the notice is not there to meet.
TREE = [
    f'Window "{TITLE}" focusable focused',
    '  Edit "Въведете името си" focusable focused',
    '  Button "Анализирай" focusable',
    '  Edit "Анализ на името" focusable',
    '  Text "Въведете името си :"',
    '  Text "Повторението на букви в името засилва тяхното въздействие."',
]


# A reader stops on every element of the tree, so whatever TREE holds, none may lack a
# name. None is exempt: what has no name (the boxes' viewports and scroll bars, and the
# notice, whose message goes out as the window's notification) is kept out of the tree.
def nameless(tree):
    return [line for line in tree if re.match(r' *\w+ ""', line)]


version = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
if int(re.match(r"wine-(\d+)", version).group(1)) < 10:
    # Wine 8's client deadlocks the program at the first child and has no events.
    print(f"SKIPPED: {version} has no working UI Automation client; it takes Wine 10 or newer")
    sys.exit(77)


class Client:  # uia_client.exe, its lines taken as they come
    def __init__(self):
        self.process = subprocess.Popen(
            ["wine", CLIENT, TITLE], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, encoding="utf-8"
        )
        self.lines = queue.Queue()
        threading.Thread(
            target=lambda: [self.lines.put(line.rstrip("\n")) for line in self.process.stdout], daemon=True
        ).start()
        check("the client's first line", self.line(), "ready")

    def line(self):
        try:
            return self.lines.get(timeout=20)
        except queue.Empty:
            return None

    def tree(self):
        self.process.stdin.write("tree\n")
        self.process.stdin.flush()
        lines = []
        while (line := self.line()) not in ("end", None):
            lines.append(line)
        return lines

    def focus_after(self, key):
        xdotool("key", key)
        return self.line()


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


# The text of each notification the program has raised so far, with "..." where Wine cut it.
def announcements():
    def character(escape):
        code, other = escape.groups()
        return chr(int(code, 16)) if code else {"n": "\n", "r": "\r", "t": "\t"}.get(other, other)

    with open(log.name, encoding="utf-8", errors="replace") as raised:
        return [
            re.sub(r"\\(?:([0-9a-f]{4})|(.))", character, text) + cut
            for text, cut in re.findall(
                r'UiaRaiseNotificationEvent \(\w+, \d+, \d+, L"((?:[^"\\]|\\.)*)"(\.\.\.)?', raised.read()
            )
        ]


def announced_after(name):
    before = len(announcements())
    xdotool("key", "ctrl+a", "BackSpace")
    xdotool("type", "--delay", "30", "--", name)
    xdotool("key", "Return")
    return (wait_for(lambda: announcements()[before:]) or [None])[0]


x = display.Display()
log = tempfile.NamedTemporaryFile(suffix=".log")
app = subprocess.Popen(["wine", PROGRAM], stderr=log, env={**os.environ, "WINEDEBUG": "-all,fixme+uiautomation"})
try:
    shown_window(x, named(x, TITLE))
    client = Client()
    tree = client.tree()
    check("the tree at start", tree, TREE)
    check("the elements at start with no name", nameless(tree), [])
    check(
        "the focus after Tab, Tab, Shift+Tab, Shift+Tab",
        [client.focus_after(key) for key in ("Tab", "Tab", "shift+Tab", "shift+Tab")],
        [
            'focus Button "Анализирай" focusable focused',
            'focus Edit "Анализ на името" focusable focused',
            'focus Button "Анализирай" focusable focused',
            'focus Edit "Въведете името си" focusable focused',
        ],
    )
    for name, expected in ANNOUNCED:
        got = announced_after(name)
        cut = got and got.endswith("...") and len(got) - 3  # then as much as Wine logged
        check(f"what is announced after '{name}'", got, expected[:cut] + "..." if cut else expected)
    tree = client.tree()
    print("\n".join(map(str, tree)))
    check("the tree after an analysis", tree, TREE)
    check("the elements after an analysis with no name", nameless(tree), [])
finally:
    subprocess.run(["wineserver", "-k"])  # whatever went wrong, nothing of it runs on
report()
