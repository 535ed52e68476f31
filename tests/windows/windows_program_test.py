#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The portable program as Windows sees it, under Wine on the X server and prefix that
# wine_session.sh gives: what the loader reads from the .exe, the answers to --help and
# --version, and the window, typed into with Unicode key events and read back through
# the clipboard.
#   windows_program_test.py PROGRAM WINE_INPUT
import os
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

import pefile
from Xlib import X, display, protocol

PROGRAM, WINE_INPUT = sys.argv[1:3]
failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def wait_for(find, seconds=30):
    deadline = time.monotonic() + seconds
    while not (found := find()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return found


def wine(*arguments, **options):
    return subprocess.run(["wine", *arguments], capture_output=True, timeout=60, **options)


def check_executable():
    pe = pefile.PE(PROGRAM)
    check("the subsystem", pe.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
    # One file: every library it loads comes with Windows (api-ms-win-* name parts of it).
    system = os.path.join(os.environ["WINEPREFIX"], "drive_c/windows/system32")
    check("the libraries that do not come with Windows",
          [dll for dll in (entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
           if not dll.startswith("api-ms-win-") and not os.path.exists(os.path.join(system, dll))], [])
    strings = {key.decode(): value.decode() for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
               for table in info.StringTable for key, value in table.entries.items()}
    check("the version resource", (strings.get("ProductName"), strings.get("ProductVersion"),
                                   "GPL-3.0-or-later" in strings.get("LegalCopyright", "")), ("Велинора", "1.00", True))
    resources = {kind.id: kind for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries}

    def data(kind):
        entry = resources[kind].directory.entries[0].directory.entries[0].data.struct
        return pe.get_data(entry.OffsetToData, entry.Size)
    icons = data(pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    check("the icon's sizes", [icons[6 + 14 * i] or 256 for i in range(int.from_bytes(icons[4:6], "little"))],
          [16, 32, 48, 256])
    manifest = ElementTree.fromstring(data(pefile.RESOURCE_TYPE["RT_MANIFEST"]))
    settings = {element.tag.split("}")[1]: (element.text or element.attrib) for element in manifest.iter()}
    check("the manifest", (settings.get("dpiAwareness"), settings.get("activeCodePage"),
                           settings.get("requestedExecutionLevel", {}).get("level"),
                           settings.get("supportedOS", {}).get("Id")),
          ("PerMonitorV2", "UTF-8", "asInvoker", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"))


def windows_named(name):
    x.sync()
    found = []
    for child in x.screen().root.query_tree().children:
        value = child.get_full_property(x.intern_atom("_NET_WM_NAME"), X.AnyPropertyType)
        if value and value.value.decode() == name and child.get_attributes().map_state == X.IsViewable:
            found.append(child)
    return found


def check_command_line():
    # Its output sent somewhere, it answers there, in the Bulgarian of the Qt texts it
    # carries; started with nowhere to write, it answers in a message box, which Enter closes.
    answer = wine(PROGRAM, "--version")
    check("--version written out", (answer.returncode, answer.stdout.decode().splitlines()), (0, ["velinora 1.00"]))
    check("--help's first word", wine(PROGRAM, "--help").stdout.decode().split()[:1], ["Използване:"])
    box = subprocess.Popen(["wine", "start", "/wait", "/unix", PROGRAM, "--version"])
    check("--version in a message box", bool(wait_for(lambda: windows_named("Велинора"))), True)
    subprocess.run(["xdotool", "key", "Return"], check=True)
    check("the status after the message box", box.wait(30), 0)


def clipboard():
    return wine(WINE_INPUT, "clipboard").stdout.decode()


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "50", *names], check=True)


def check_window():
    app = subprocess.Popen(["wine", PROGRAM])
    window = (wait_for(lambda: windows_named("ВЕЛИНОРА")) or sys.exit("the window never appeared"))[0]
    time.sleep(1)  # the first paint
    at = window.get_geometry()
    check("the client area", (at.width, at.height), (700, 534))

    def colour(px, py):
        pixel = window.get_image(px, py, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
        return "%02X%02X%02X" % (pixel[2], pixel[1], pixel[0])
    for what, point, expected in [("window", (40, 70), "32B2FF"), ("name box", (502, 40), "11EEEE"),
                                  ("button", (286, 76), "2FD0D0"), ("result box", (308, 396), "9DFFFF")]:
        check(f"the {what}'s colour", colour(*point), expected)

    name = "Иванка Жълтица"
    subprocess.run(["wine", WINE_INPUT, "type", name], check=True)
    keys("Return")
    # Whatever is typed next goes on in the name box.
    subprocess.run(["wine", WINE_INPUT, "type", "-"], check=True)
    keys("ctrl+a", "ctrl+c")
    check("the name box after Enter and one more key", clipboard(), name + "-")
    keys("shift+Tab", "ctrl+a", "ctrl+c")
    entries = clipboard().split("\r\n\r\n")
    check("the headings of the analysis", [entry.split("\r\n")[0] for entry in entries],
          [letter for letter in name.upper() if letter != " "])
    check("the first paragraph's opening", entries[0].split("\r\n")[1][:13], "Не обещавайте")

    window.send_event(protocol.event.ClientMessage(window=window, client_type=x.intern_atom("WM_PROTOCOLS"), data=(
        32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
    x.flush()
    check("the exit status on close", app.wait(30), 0)


x = display.Display()
check_executable()
check_command_line()
check_window()
print("\n".join(failures + [f"{0 if failures else 1} passed, {1 if failures else 0} failed"]))
sys.exit(1 if failures else 0)
