# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The site as web/serve.py serves it, on a new origin each time, with nothing of it yet
# in a browser's cache or service worker; and, for the tests, with the core's file held
# back until released, or refused, as a slow or broken network would.
import re
import shutil
import sys
import tempfile
import threading
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "web"))
import serve  # noqa: E402


class Handler(serve.Handler):
    def answer(self, with_body):
        if re.fullmatch(r"/velinora-core\.\w+\.wasm", self.path):
            if self.server.core == "refused":
                return self.send(503, {"Content-Type": "text/plain"}, b"", with_body)
            self.server.released.wait(30)
        super().answer(with_body)


def start(site, core="served"):  # served, held (until server.released is set) or refused
    if core == "held":  # and not preloaded, which would hold back the page's load event, and so the driver
        site = shutil.copytree(site, tempfile.mkdtemp() + "/site")
        page = Path(site, "index.html")
        page.write_text(re.sub(r"<link rel=\"preload\"[^>]*\.wasm\"[^>]*>\n", "", page.read_text("utf-8")), "utf-8")
    server = serve.start(site)
    server.RequestHandlerClass, server.core, server.released = Handler, core, threading.Event()
    if core != "held":
        server.released.set()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    server.origin = f"http://127.0.0.1:{server.server_port}"
    return server
