#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the site together in OUT from the page's sources and the files the build made.
# Every file but the page and the service worker is named after its content, so that a
# host may let browsers keep it for a year: a changed file is a new name, which the files
# that refer to it are written to ask for. The worker gets the list of files and a
# version taken from all of them. The same inputs give the same bytes.
#   assemble_site.py OUT SOURCE_DIR BUILT_FILE...
import hashlib
import json
import os
import re
import shutil
import sys
from pathlib import Path

# Each after the files it names.
ORDER = [
    "velinora-core.wasm",
    "velinora-core.js",
    "dejavu-sans-bold.woff2",
    "heart-*.png",
    "velinora.css",
    "manifest.webmanifest",
    "velinora.js",
]


def hashed_name(name, data):
    stem, _, extension = name.partition(".")
    return f"{stem}.{hashlib.sha256(data).hexdigest()[:10]}.{extension}"


def with_names(text, names, found):
    """The text asking for each file by its new name, wherever it names it in quotes, in url()
    or after a slash."""
    for old, new in names.items():
        text, count = re.subn(r"(?<=[\"'/(])" + re.escape(old) + r"(?=[\"')])", new, text)
        found[old] += count
    return text


def main(out, source, *built):
    out, source = Path(out), Path(source)
    inputs = {path.name: path for path in map(Path, built)}
    for name in ["index.html", "velinora.js", "manifest.webmanifest"]:
        inputs[name] = source / name
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)

    names, found = {}, {}

    def put(name, data):
        if not name.endswith((".wasm", ".woff2", ".png")):
            data = with_names(data.decode(), names, found).encode()
        new = hashed_name(name, data) if name != "index.html" else name
        (out / new).write_bytes(data)
        names[name], found[name] = new, 0

    for pattern in ORDER:
        for name in sorted(n for n in inputs if Path(n).match(pattern)):
            put(name, inputs.pop(name).read_bytes())
    put("index.html", inputs.pop("index.html").read_bytes())
    if inputs:
        sys.exit(f"assemble_site.py: no place for {', '.join(inputs)}")
    unasked = [name for name, count in found.items() if count == 0 and name != "index.html"]
    if unasked:
        sys.exit(f"assemble_site.py: nothing asks for {', '.join(unasked)}")

    files = sorted(new for name, new in names.items() if name != "index.html")
    version = hashlib.sha256()
    for name in ["index.html", *files]:
        version.update(name.encode() + b"\0" + (out / name).read_bytes())
    worker = (source / "sw.js.in").read_text(encoding="utf-8")
    worker = worker.replace("@VERSION@", version.hexdigest()[:16]).replace("@FILES@", json.dumps(files))
    (out / "sw.js").write_text(worker, encoding="utf-8")

    os.chmod(out, 0o755)
    for path in out.iterdir():
        os.chmod(path, 0o644)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: assemble_site.py OUT SOURCE_DIR BUILT_FILE...")
    main(*sys.argv[1:])
