#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Serves the built site on this machine only, with the headers that a well-configured
# static host sends (the README's Hosting): the page's Content-Security-Policy as a
# header too, with what only a header can say; a year's caching for the files named
# after their content, and none for the page and the service worker, which keep their
# names; gzip for the text files. Every address asked for is kept in `requests`.
#   serve.py FOLDER    prints the address and serves until interrupted
import functools
import gzip
import hashlib
import http.server
import re
import sys
import urllib.parse
from pathlib import Path

# Named here, since a minimal system has no /etc/mime.types to name them.
TYPES = {
    ".html": "text/html; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".wasm": "application/wasm",
    ".woff2": "font/woff2",
    ".png": "image/png",
    ".webmanifest": "application/manifest+json",
}
COMPRESSIBLE = {".html", ".css", ".js", ".wasm", ".webmanifest"}
NAMED_BY_CONTENT = re.compile(r"\.[0-9a-f]{10}\.[a-z0-9]+$")


def policy(folder):  # the page's own, and what a page cannot set for itself
    page = (Path(folder) / "index.html").read_text(encoding="utf-8")
    return (
        re.search(r'http-equiv="Content-Security-Policy" content="([^"]+)"', page).group(1) + "; frame-ancestors 'none'"
    )


@functools.lru_cache(maxsize=None)
def compressed(path, _modified):
    return gzip.compress(path.read_bytes(), 9, mtime=0)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # one connection for all the files, as a real host keeps it
    # Headers and body go out in two writes; held back for the first's acknowledgement, the
    # second would wait out the client's delayed ACK, 40 ms on Linux.
    disable_nagle_algorithm = True

    def do_GET(self):
        self.answer(with_body=True)

    def do_HEAD(self):
        self.answer(with_body=False)

    def answer(self, with_body):
        self.server.requests.append(self.path)
        name = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path).lstrip("/") or "index.html"
        path = self.server.folder / name
        if "/" in name or "\0" in name or name.startswith(".") or not path.is_file():
            return self.send(404, {"Content-Type": "text/plain; charset=utf-8"}, b"404 Not Found\n", with_body)
        headers = {
            "Content-Type": TYPES.get(path.suffix, "application/octet-stream"),
            "Content-Security-Policy": self.server.policy,
            "X-Content-Type-Options": "nosniff",
        }
        body = path.read_bytes()
        if NAMED_BY_CONTENT.search(name):
            headers["Cache-Control"] = "public, max-age=31536000, immutable"
        else:  # asked again each time, and answered with 304 while it is unchanged
            headers["Cache-Control"] = "no-cache"
            headers["ETag"] = '"' + hashlib.sha256(body).hexdigest()[:16] + '"'
            if self.headers.get("If-None-Match") == headers["ETag"]:
                return self.send(304, headers, b"", with_body)
        if path.suffix in COMPRESSIBLE:
            headers["Vary"] = "Accept-Encoding"
            if "gzip" in self.headers.get("Accept-Encoding", ""):
                body = compressed(path, path.stat().st_mtime_ns)
                headers["Content-Encoding"] = "gzip"
        self.send(200, headers, body, with_body)

    def send(self, status, headers, body, with_body):
        self.send_response(status)
        for header, value in headers.items():
            self.send_header(header, value)
        if status != 304:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if with_body and status != 304:
            try:
                self.wfile.write(body)
            except (BrokenPipeError, ConnectionResetError):  # the browser no longer wants it
                pass

    def log_message(self, *_):
        pass


def start(folder, port=0):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
    server.folder, server.policy, server.requests = Path(folder), policy(folder), []
    return server


if __name__ == "__main__":
    try:
        server = start(sys.argv[1], 8000)
    except OSError:  # taken: any free port will do
        server = start(sys.argv[1])
    print(f"Velinora is served at http://127.0.0.1:{server.server_port}/ (Ctrl+C stops it)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
