#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Serves the built site on this machine only, as any static host would.
#   serve.py FOLDER    prints the address and serves until interrupted
import functools
import http.server
import sys

# Named here, since a minimal system has no /etc/mime.types to name them.
TYPES = {".html": "text/html; charset=utf-8", ".css": "text/css; charset=utf-8",
         ".js": "text/javascript; charset=utf-8", ".wasm": "application/wasm", ".woff2": "font/woff2",
         ".png": "image/png", ".webmanifest": "application/manifest+json"}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = TYPES
    protocol_version = "HTTP/1.1"  # one connection for all the files, as a real host keeps it

    def log_message(self, *_):
        pass


def start(folder, port=0):
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Handler, directory=folder))


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
