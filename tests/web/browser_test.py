#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The built site in headless Chromium, served as a static host serves it: typed into key
# by key, clicked, pasted into, walked from the keyboard, read as a screen reader reads it,
# reloaded with its server gone, and narrowed to a phone. What it shows is held against
# the native core. Screenshots go to ARTEFACTS.
#   browser_test.py SITE NATIVE_CORE ARTEFACTS
import base64
import json
import struct
import subprocess
import sys
import threading
from pathlib import Path

from support import Chromium

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "web"))
import serve  # noqa: E402

SITE, NATIVE_CORE, ARTEFACTS = sys.argv[1:4]
ALPHABET = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯабвгдежзийклмнопрстуфхцчшщъьюя"
LONG_NAME = (ALPHABET * 167)[:10000]
# Names at the core's edges: case, repeats, characters that are no letter, ё, ы and э, an
# emoji, a lone half of a surrogate pair, a NUL, every Cyrillic letter, a long name.
NAMES = ["Ива", "ИВА", "Анна-Мария", "Йорданка Щърбова", "", " ", "John Smith", "Ёлка, Ыы, Ээ, ѝ",
         "Ива 😀 Ива", "\ud83dИва\ude00", "Ив\0а", "Д'Артанян 2\r\nМария\t", ALPHABET,
         "".join(map(chr, range(0x3F0, 0x470))), "Щ" * 2000, (ALPHABET + " -") * 313]
CONTROLS = "['result', 'notice', 'name'].map((id) => document.getElementById(id))"
failures = []


def native_analyses(program, names):  # [(result, announcement)] as the native core gives them
    def utf16(text):
        return text.encode("utf-16-le", "surrogatepass")
    names_in = b"".join(struct.pack("<I", len(utf16(name)) // 2) + utf16(name) for name in names)
    out = subprocess.run([program], input=names_in, capture_output=True, check=True).stdout
    texts = []
    while out:
        units = struct.unpack_from("<I", out)[0]
        texts.append(out[4:4 + 2 * units].decode("utf-16-le", "surrogatepass"))
        out = out[4 + 2 * units:]
    return list(zip(texts[::2], texts[1::2]))


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {str(got)[:300]}, expected {str(expected)[:300]}")


def ready():  # the core loaded, the face in place and the focus in the name box
    return browser.wait_for("!document.getElementById('analyse').disabled && document.activeElement.id === 'name'"
                            " && document.fonts.ready.then(() => true)")


def check_analysis(how, name):
    result, announcement = native_analyses(NATIVE_CORE, [name])[0]
    browser.wait_for(f"{CONTROLS}[1].textContent")
    shown = browser.js(f"(([result, notice, name]) => [result.value, notice.textContent, name.value])({CONTROLS})")
    # A text box's value holds each CR LF as one line feed.
    check(f"{how}: the result, the live region and the name box", shown,
          [result.replace("\r\n", "\n"), announcement, name])
    check(f"{how}: the focus", browser.js("document.activeElement.id"), "name")


def select_all():
    browser.key("a", "KeyA", 65, modifiers=2, commands=["selectAll"])


def screenshot(name):
    Path(ARTEFACTS, name).write_bytes(base64.b64decode(browser.call("Page.captureScreenshot", format="png")["data"]))


server = serve.start(SITE)
threading.Thread(target=server.serve_forever, daemon=True).start()
origin = f"http://127.0.0.1:{server.server_port}"
browser = Chromium()
try:
    for domain in ["Page", "Runtime", "Log", "Network"]:
        browser.call(f"{domain}.enable")
    browser.call("Browser.grantPermissions", origin=origin, permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
    browser.call("Emulation.setFocusEmulationEnabled", enabled=True)
    browser.call("Emulation.setDeviceMetricsOverride", width=1280, height=800, deviceScaleFactor=1, mobile=False)
    browser.load("Page.navigate", url=origin + "/")
    check("the page gets ready", ready(), True)
    check("the focus at the start", browser.js("document.activeElement.id"), "name")

    # The core as the page runs it gives, byte for byte, what the native core gives.
    check("the page's core against the native core", browser.js(
        "import('./velinora.js').then(({loadAnalysis}) => loadAnalysis()).then((analyse) => "
        f"{json.dumps(NAMES)}.map((name) => Object.values(analyse(name))))"),
        [list(answers) for answers in native_analyses(NATIVE_CORE, NAMES)])

    # The window's layout, in window pixels, however large the page draws it.
    check("the window's layout", browser.js("""(() => {
        const box = (id) => document.getElementById(id).getBoundingClientRect(), form = box('form');
        const at = (id, sized) => { const r = box(id);
            return [r.x - form.x, r.y - form.y, ...(sized ? [r.width, r.height] : [])].map((v) => v * 700 / form.width)
                .map(Math.round); };
        return [at('form', true), at('prompt'), at('name', true), at('analyse', true), at('result', true), at('note')];
        })()"""), [[0, 0, 700, 534], [256, 0], [192, 24, 329, 33], [280, 64, 129, 25], [8, 96, 689, 409], [184, 512]])

    browser.type("Ива")
    browser.key("Enter", "Enter", 13, "\r")
    check_analysis("typed, Enter", "Ива")
    screenshot("wide.png")

    # The result box: reached by Tab, read-only, and its text copied whole.
    for key, focus in [("Tab", "analyse"), ("Tab", "result")]:
        browser.key(key, key, 9)
        check(f"{key} to the {focus}", browser.js("document.activeElement.id"), focus)
    browser.type("x")
    select_all()
    browser.key("c", "KeyC", 67, modifiers=2, commands=["copy"])
    check("the result box copied", browser.js("navigator.clipboard.readText()"),
          browser.js("document.getElementById('result').value"))
    browser.click("#prompt")
    check("a click on the prompt focuses", browser.js("document.activeElement.id"), "name")

    select_all()
    browser.type("Анна-Мария")
    browser.click("#analyse")
    check_analysis("the button clicked", "Анна-Мария")

    select_all()
    browser.key("Delete", "Delete", 46)
    browser.key("Tab", "Tab", 9)
    browser.key(" ", "Space", 32, " ")
    check_analysis("empty, the button pressed with Space", "")

    browser.js(f"navigator.clipboard.writeText('{LONG_NAME}')")
    browser.key("v", "KeyV", 86, modifiers=2, commands=["paste"])
    browser.key("Enter", "Enter", 13, "\r")
    check_analysis("a 10,000-letter paste", LONG_NAME)

    nodes = browser.call("Accessibility.getFullAXTree")["nodes"]
    seen = {(node["role"]["value"], node.get("name", {}).get("value"))
            for node in nodes if not node.get("ignored")}
    for role, name in [("RootWebArea", "ВЕЛИНОРА"), ("textbox", "Въведете името си"), ("button", "Анализирай"),
                       ("textbox", "Анализ на името"), ("status", "")]:
        check(f"a {role} named {name!r} for a screen reader", (role, name) in seen, True)

    # With the server gone, the service worker serves the page.
    check("a service worker in control", browser.wait_for(
        "navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller)"), True)
    server.shutdown()
    server.server_close()
    browser.load("Page.reload")
    check("offline, the page gets ready", ready(), True)
    browser.type("Ива")
    browser.key("Enter", "Enter", 13, "\r")
    check_analysis("offline", "Ива")

    browser.call("Emulation.setDeviceMetricsOverride", width=360, height=640, deviceScaleFactor=1, mobile=True)
    browser.load("Page.reload")
    ready()
    browser.type("Ива")
    browser.key("Enter", "Enter", 13, "\r")
    check_analysis("on a phone", "Ива")
    screenshot("phone.png")
    width, laid_out, name_font, smallest_font = browser.js("""[innerWidth, document.documentElement.scrollWidth,
        ...[document.querySelectorAll('#name'), document.querySelectorAll('form > *')].map((elements) => Math.min(
            ...[...elements].map((element) => parseFloat(getComputedStyle(element).fontSize))))]""")
    check("on a phone: the width, nothing wider, the name box's font and the smallest",
          [width, laid_out <= width, name_font >= 16, smallest_font >= 12], [360, True, True, True])

    errors = [event["params"] for event in browser.events if event["method"] == "Runtime.exceptionThrown"
              or event["method"] == "Log.entryAdded" and event["params"]["entry"]["level"] == "error"
              or event["method"] == "Runtime.consoleAPICalled" and event["params"]["type"] in ("error", "warning")]
    check("console errors", errors, [])
    requests = {event["params"]["request"]["url"] for event in browser.events
                if event["method"] == "Network.requestWillBeSent"}
    check("requests to another origin", sorted(url for url in requests if not url.startswith(origin + "/")), [])

    # Last, as it logs the violation: the policy stops a script put into the page.
    check("an inline script", browser.js("""new Promise((done) => {
        document.addEventListener('securitypolicyviolation', (event) => done(event.violatedDirective));
        document.body.append(Object.assign(document.createElement('script'), {textContent: 'window.ran = 1'}));
        setTimeout(() => done(window.ran ? 'it ran' : 'no violation'), 2000); })"""), "script-src-elem")
finally:
    browser.close()

print("\n".join(failures + [f"{0 if failures else 1} passed, {1 if failures else 0} failed"]))
sys.exit(1 if failures else 0)
