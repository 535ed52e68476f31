#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The web edition's figures, in headless Chromium from web/serve.py on this machine: the
# time from navigation to the page being ready to analyse, the time to analyse and show a
# 10,000-letter name beside setting the same text into the same text box, and the bytes
# of a first visit, as sent (gzipped, as serve.py sends them) and as the files are.
# Medians of interleaved runs.
#   web_figures.py SITE
import gzip
import statistics
import sys
from pathlib import Path

sys.path[:0] = [str(Path(__file__).resolve().parents[1] / folder) for folder in ["tests/web", "web"]]
import host  # noqa: E402
import serve  # noqa: E402
from engines import Chromium  # noqa: E402

SITE = Path(sys.argv[1])
RUNS = 15
# Notes the moment the result box stops being busy, which it does once the core has loaded.
READY = """new MutationObserver(() => {
    const box = document.getElementById('result');
    if (box && !box.hasAttribute('aria-busy')) window.readyAt ??= performance.now();
}).observe(document, { subtree: true, childList: true, attributes: true });"""
# Each measure ends once the frame with the text has been drawn.
SHOWN = "new Promise((done) => requestAnimationFrame(() => setTimeout(done)))"
LONG = """(async () => {
    const [form, name, result] = ['form', 'name', 'result'].map((id) => document.getElementById(id));
    const times = {};
    const timed = async (what, work) => {
        result.value = ''; await %(shown)s;
        const start = performance.now(); work(); result.scrollHeight; await %(shown)s;
        times[what] = performance.now() - start;
    };
    name.value = 'АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯабвгдежзийклмнопрстуфхцчшщъьюя'.repeat(167).slice(0, 10000);
    await timed('analysis', () => form.requestSubmit());
    const text = result.value;
    await timed('bare', () => { result.value = text; });
    return [times.analysis, times.bare, text.length];
})()""" % {
    "shown": SHOWN
}


BYTES = """Object.fromEntries(performance.getEntries().filter((entry) => entry.transferSize)
    .map((entry) => [entry.name.split('/').pop() || 'index.html', entry.transferSize]))"""


def median_ms(values):
    return f"{statistics.median(values):7.1f} ms"


browser = Chromium()
servers = []
try:
    browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=READY)
    first, later, analysis, bare = [], [], [], []
    for _ in range(RUNS):
        # A first visit: a new origin, with nothing of it cached and no service worker.
        servers.append(host.start(SITE))
        browser.open(servers[-1].origin + "/")
        first.append(browser.wait_for("window.readyAt"))
        asked = browser.js(BYTES)  # until ready, as sent with headers
        browser.wait_for("navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller)")
        browser.driver.refresh()
        later.append(browser.wait_for("window.readyAt"))
        shown, floor, length = browser.js(LONG)
        analysis.append(shown)
        bare.append(floor)
finally:
    browser.close()
    for server in servers:
        server.shutdown()

print(f"Web edition, headless Chromium, {RUNS} runs, medians")
print(f"  ready to analyse, first visit:              {median_ms(first)}")
print(f"  ready to analyse, later visit (from cache): {median_ms(later)}")
print(f"  10,000 letters analysed and shown ({length:,} characters): {median_ms(analysis)}")
print(f"  the same text set into the same text box:   {median_ms(bare)}")
print(f"  ratio: {statistics.median(analysis) / statistics.median(bare):.2f}x")
# What the page asked for until it was ready, as sent with headers and as the files are;
# the service worker then copies the rest of the site, once, the same way.
files = {path.name: path for path in SITE.iterdir()}
print("  a first visit, bytes sent (gzip for text, with headers) and the files' own:")
for name, length in sorted(asked.items()):
    print(f"    {name:36} {length:7,} {files[name].stat().st_size:7,}")
print(f"    {'until ready':36} {sum(asked.values()):7,} {sum(files[n].stat().st_size for n in asked):7,}")
rest = [path for name, path in files.items() if name not in asked]
packed = sum(
    len(gzip.compress(p.read_bytes(), 9, mtime=0)) if p.suffix in serve.COMPRESSIBLE else p.stat().st_size for p in rest
)
print(f"    {'the rest, copied by the worker':36} {packed:7,} {sum(p.stat().st_size for p in rest):7,}")
