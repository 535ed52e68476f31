#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The web edition's figures, in headless Chromium from a server on this machine: the time
# from navigation to the page being ready to analyse, the time to analyse and show a
# 10,000-letter name beside setting the same text into the same text box, and the bytes
# of the site, gzipped. Medians of interleaved runs.
#   web_figures.py SITE
import gzip
import statistics
import sys
import threading
from pathlib import Path

sys.path[:0] = [str(Path(__file__).resolve().parents[1] / folder) for folder in ["tests/web", "web"]]
import serve  # noqa: E402
from engines import Chromium  # noqa: E402

SITE = Path(sys.argv[1])
RUNS = 15
# Notes the moment the button is enabled, which the page does once the core has loaded.
READY = """new MutationObserver(() => {
    if (document.getElementById('analyse')?.disabled === false) window.readyAt ??= performance.now();
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
})()""" % {"shown": SHOWN}


def median_ms(values):
    return f"{statistics.median(values):7.1f} ms"


server = serve.start(str(SITE))
threading.Thread(target=server.serve_forever, daemon=True).start()
origin = f"http://127.0.0.1:{server.server_port}"
browser = Chromium()
try:
    browser.call("Page.enable")
    browser.call("Page.addScriptToEvaluateOnNewDocument", source=READY)
    browser.call("Emulation.setDeviceMetricsOverride", width=1280, height=800, deviceScaleFactor=1, mobile=False)
    first, later, analysis, bare = [], [], [], []
    for _ in range(RUNS):
        # A first visit: no cache, no service worker.
        browser.call("Storage.clearDataForOrigin", origin=origin, storageTypes="all")
        browser.call("Network.clearBrowserCache")
        browser.load("Page.navigate", url=origin + "/")
        first.append(browser.wait_for("window.readyAt"))
        browser.wait_for("navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller)")
        browser.load("Page.reload")
        later.append(browser.wait_for("window.readyAt"))
        shown, floor, length = browser.js(LONG)
        analysis.append(shown)
        bare.append(floor)
finally:
    browser.close()

print(f"Web edition, headless Chromium, {RUNS} runs, medians")
print(f"  ready to analyse, first visit:              {median_ms(first)}")
print(f"  ready to analyse, later visit (from cache): {median_ms(later)}")
print(f"  10,000 letters analysed and shown ({length:,} characters): {median_ms(analysis)}")
print(f"  the same text set into the same text box:   {median_ms(bare)}")
print(f"  ratio: {statistics.median(analysis) / statistics.median(bare):.2f}x")
print("  the site's files, bytes as built and gzipped:")
sizes = [(path.name, path.stat().st_size, len(gzip.compress(path.read_bytes(), 9, mtime=0)))
         for path in sorted(SITE.iterdir())]
for name, raw, packed in sizes + [("total", sum(s[1] for s in sizes), sum(s[2] for s in sizes))]:
    print(f"    {name:24} {raw:7,} {packed:7,}")
