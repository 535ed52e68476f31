#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The portable program as Windows sees it, under Wine on the X server and prefix that
# scripts/x-session gives: what the loader reads from the .exe, the answers to --help and
# --version, and the window, typed into through the keyboard map and read back through
# the clipboard.
#   windows_program_test.py PROGRAM
import os
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

import pefile
from Xlib import display

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from checks import check, close, named, report, shown_window  # noqa: E402

PROGRAM = sys.argv[1]
VERSION = os.environ["VELINORA_VERSION"]


def wine(*arguments):
    return subprocess.run(["wine", *arguments], capture_output=True, timeout=60)


def check_executable():
    pe = pefile.PE(PROGRAM)
    check("the subsystem", pe.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
    # One file: every library it loads comes with Windows (api-ms-win-* name parts of it).
    system = os.path.join(os.environ["WINEPREFIX"], "drive_c/windows/system32")
    check(
        "the libraries that do not come with Windows",
        [
            dll
            for dll in (entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
            if not dll.startswith("api-ms-win-") and not os.path.exists(os.path.join(system, dll))
        ],
        [],
    )
    strings = {
        key.decode(): value.decode()
        for info in pe.FileInfo[0]
        if info.Key == b"StringFileInfo"
        for table in info.StringTable
        for key, value in table.entries.items()
    }
    # What Properties shows, in Bulgarian: read as UTF-16, a wrong code page would not match.
    check(
        "the version resource",
        [strings.get(key) for key in ("ProductName", "ProductVersion", "CompanyName", "LegalCopyright")],
        [
            "Велинора",
            VERSION,
            "Разработчиците на Велинора",
            "© 2026 Разработчиците на Велинора. GPL-3.0 или по-нова версия",
        ],
    )
    resources = {kind.id: kind for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries}

    def data(kind):
        entry = resources[kind].directory.entries[0].directory.entries[0].data.struct
        return pe.get_data(entry.OffsetToData, entry.Size)

    icons = data(pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    check(
        "the icon's sizes",
        [icons[6 + 14 * i] or 256 for i in range(int.from_bytes(icons[4:6], "little"))],
        [16, 32, 48, 256],
    )
    manifest = ElementTree.fromstring(data(pefile.RESOURCE_TYPE["RT_MANIFEST"]))
    settings = {element.tag.split("}")[1]: (element.text or element.attrib) for element in manifest.iter()}
    check(
        "the manifest",
        (
            settings.get("dpiAwareness"),
            settings.get("activeCodePage"),
            settings.get("requestedExecutionLevel", {}).get("level"),
            settings.get("supportedOS", {}).get("Id"),
        ),
        ("PerMonitorV2", "UTF-8", "asInvoker", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"),
    )


def check_command_line():
    # Its output sent somewhere, it answers there, in Bulgarian, a wrong option with status 1;
    # started with nowhere to write, it answers in a message box, which Enter closes.
    answer = wine(PROGRAM, "--version")
    check(
        "--version written out", (answer.returncode, answer.stdout.decode().splitlines()), (0, [f"velinora {VERSION}"])
    )
    check("--help's first word", wine(PROGRAM, "--help").stdout.decode().split()[:1], ["Употреба:"])
    wrong = wine(PROGRAM, "--bogus")
    check(
        "an unknown option",
        (wrong.returncode, "velinora: Непозната опция: „bogus“." in wrong.stderr.decode()),
        (1, True),
    )
    box = subprocess.Popen(["wine", "start", "/wait", "/unix", PROGRAM, "--version"])
    shown = shown_window(x, named(x, "Велинора"))
    subprocess.run(["xdotool", "windowfocus", "--sync", str(shown.id), "key", "Return"], check=True)
    check("the status after the message box", box.wait(30), 0)


def copied(*keys):  # what the keys copy
    subprocess.run(["xdotool", "key", "--delay", "50", *keys, "ctrl+a", "ctrl+c"], check=True)
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True).stdout.decode()


def check_window():
    app = subprocess.Popen(["wine", PROGRAM])
    window = shown_window(x, named(x, "ВЕЛИНОРА"))
    at = window.get_geometry()
    check("the client area", (at.width, at.height), (700, 534))

    # Typed through the us,bg keymap, which Wine reads when it starts.
    name = "Иванка Жълтица"
    subprocess.run(["xdotool", "type", "--delay", "30", name], check=True)
    # After Enter, whatever is typed goes on in the name box.
    check("the name box after Enter and one more key", copied("Return", "minus"), name + "-")
    entries = copied("shift+Tab").split("\n\n")
    check(
        "the headings of the analysis",
        [entry.split("\n")[0] for entry in entries],
        [letter for letter in name.upper() if letter != " "],
    )

    close(x, window)
    check("the exit status on close", app.wait(30), 0)


x = display.Display()
try:
    check_executable()
    check_command_line()
    check_window()
finally:
    subprocess.run(["wineserver", "-k"])  # whatever went wrong, nothing of it runs on
report()
