#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the web edition into a folder: the core as WebAssembly, the page, its face
# subset to the letters it shows, the heart icons, the manifest and the service worker.
# The same sources give the same bytes, whatever the time, folder, user or locale.
#   build.py OUT
import hashlib
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import zlib
from pathlib import Path

from fontTools import subset

SOURCE = Path(__file__).resolve().parent.parent
WEB = SOURCE / "web"
FACE = Path("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf")
# The typed name may be in either alphabet.
TYPED = set(map(chr, [*range(0x20, 0x7F), *range(0x400, 0x460)]))
# (file, art, pixels per art pixel, margin in window blue for a home screen that
# shows no transparency)
ICONS = [("heart-16.png", "heart16.xpm", 1, 0), ("heart-32.png", "heart32.xpm", 1, 0),
         ("heart-180.png", "heart32.xpm", 5, 10), ("heart-192.png", "heart32.xpm", 6, 0),
         ("heart-512.png", "heart32.xpm", 16, 0)]
WINDOW_BLUE = (50, 178, 255, 255)


def build_core(out):
    # Relative paths, so that the build's folder is nowhere in what it makes.
    core = sorted(str(path.relative_to(SOURCE)) for path in (SOURCE / "core").glob("*.cpp"))
    subprocess.run(["em++", "-std=c++20", "-Os", "-flto", "-DNDEBUG", "-Wall", "-Wextra", "-Wpedantic",
                    "-Wconversion", "-Wshadow", "-Werror", "-Icore", *core, "web/binding.cpp",
                    "-o", str(out / "velinora-core.js"), "-sENVIRONMENT=web", "-sMODULARIZE", "-sEXPORT_ES6",
                    "-sFILESYSTEM=0", "-sMALLOC=emmalloc", "-sALLOW_MEMORY_GROWTH",
                    "-sEXPORTED_FUNCTIONS=_velinora_analyze,_velinora_announce,_malloc,_free",
                    "-sEXPORTED_RUNTIME_METHODS=cwrap,writeArrayToMemory"], cwd=SOURCE, check=True)


def build_face(out):
    # Every letter the page and the paragraphs show, and whatever a name may be typed in.
    shown = "".join((SOURCE / name).read_text(encoding="utf-8")
                    for name in ["web/index.html", "core/letter_descriptions.cpp", "core/analysis_announcement.cpp"])
    options = subset.Options(flavor="woff2", name_IDs=[0, 1, 2, 3, 4, 5, 6, 13, 14])  # its licence travels with it
    options.drop_tables.append("FFTM")  # its maker's timestamps
    face = subset.load_font(str(FACE), options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(ord(c) for c in TYPED.union(shown) if c.isprintable()))
    subsetter.subset(face)
    subset.save_font(face, str(out / "dejavu-sans-bold.woff2"), options)


def read_xpm(path):
    strings = re.findall(r'"([^"]*)"', "\n".join(line for line in path.read_text().splitlines()
                                                if not line.lstrip().startswith("//")))
    width, height, colours, _ = map(int, strings[0].split())
    palette = {}
    for line in strings[1:1 + colours]:
        value = line[1:].split()[-1]
        palette[line[0]] = (0, 0, 0, 0) if value == "None" else (*bytes.fromhex(value[1:]), 255)
    return strings[1 + colours:1 + colours + height], palette


def png(rows, palette):  # rows of palette indices, one byte each
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 3, 0, 0, 0)
    pixels = zlib.compress(b"".join(b"\0" + row for row in rows), 9)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", bytes(c for rgba in palette for c in rgba[:3]))
            + chunk(b"tRNS", bytes(rgba[3] for rgba in palette)) + chunk(b"IDAT", pixels) + chunk(b"IEND", b""))


def build_icons(out):
    for name, art, scale, margin in ICONS:
        rows, colours = read_xpm(SOURCE / "ui/icons" / art)
        drawn_keys = [key for key in colours if key != " "]  # the art's background is " "
        palette = [WINDOW_BLUE if margin else colours[" "], *(colours[key] for key in drawn_keys)]
        index = {" ": 0, **{key: i + 1 for i, key in enumerate(drawn_keys)}}
        side = len(rows[0]) * scale + 2 * margin
        blank = bytes(side)
        drawn = [bytes(margin) + bytes(index[c] for c in row for _ in range(scale)) + bytes(margin) for row in rows]
        (out / name).write_bytes(png([blank] * margin + [r for r in drawn for _ in range(scale)] + [blank] * margin, palette))


def build_service_worker(out):
    files = sorted(path.name for path in out.iterdir() if path.name != "index.html")
    digest = hashlib.sha256()
    for name in ["index.html", *files]:
        digest.update(name.encode() + b"\0" + (out / name).read_bytes())
    worker = (WEB / "sw.js").read_text(encoding="utf-8")
    worker = worker.replace("@VERSION@", digest.hexdigest()[:16]).replace("@FILES@", json.dumps(["./", *files]))
    (out / "sw.js").write_text(worker, encoding="utf-8")


def main():
    out = Path(sys.argv[1]).resolve()
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    build_core(out)
    for name in ["index.html", "velinora.css", "velinora.js", "manifest.webmanifest"]:
        shutil.copyfile(WEB / name, out / name)
    build_face(out)
    build_icons(out)
    build_service_worker(out)
    os.chmod(out, 0o755)
    for path in out.iterdir():
        os.chmod(path, 0o644)


main()
