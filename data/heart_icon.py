#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the heart pixel art as every edition needs it: the icon theme's and the web's PNG
# files and the Windows .ico. Each art pixel becomes a square block of pixels, so every
# size stays crisp. Python's standard library alone, so that it runs on the build machine
# whatever the program is built for.
#   heart_icon.py OUT.png ART.xpm SIDE [MARGIN]     MARGIN pixels of window blue around it
#   heart_icon.py OUT.ico ART.xpm SIDE [ART.xpm SIDE]...
import re
import struct
import sys
import zlib
from pathlib import Path

WINDOW_BLUE = (50, 178, 255, 255)


def read_xpm(path):  # rows of RGBA pixels
    source = "\n".join(line for line in Path(path).read_text().splitlines() if not line.lstrip().startswith("//"))
    strings = re.findall(r'"([^"]*)"', source)
    width, height, colours, per_pixel = map(int, strings[0].split())
    if per_pixel != 1:
        raise ValueError(f"{path}: one character a pixel expected")
    palette = {}
    for line in strings[1 : 1 + colours]:
        value = line[1:].split()[-1]
        palette[line[0]] = (0, 0, 0, 0) if value == "None" else (*bytes.fromhex(value[1:]), 255)
    rows = [[palette[key] for key in row] for row in strings[1 + colours : 1 + colours + height]]
    if len(rows) != height or any(len(row) != width for row in rows):
        raise ValueError(f"{path}: not {width} x {height}")
    return rows


def drawn(art, side, margin=0):
    """The art in whole blocks; with a margin, on window blue, for a home screen or a launcher
    that shows no transparency."""
    if margin:
        art = [[WINDOW_BLUE if pixel[3] == 0 else pixel for pixel in row] for row in art]
    inner = side - 2 * margin
    if inner <= 0 or inner % len(art) or inner % len(art[0]) or len(art) != len(art[0]):
        raise ValueError(f"a {len(art[0])} x {len(art)} art does not fill {inner} pixels in whole blocks")
    scale = inner // len(art)
    edge = [WINDOW_BLUE] * margin
    rows = [edge + [pixel for pixel in row for _ in range(scale)] + edge for row in art for _ in range(scale)]
    blank = [WINDOW_BLUE] * side
    return [blank] * margin + rows + [blank] * margin


def png(rows):  # 8-bit RGBA, which every reader of icons takes
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    pixels = zlib.compress(b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in rows), 9)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels) + chunk(b"IEND", b"")


def ico(images):  # [(side, png)]: a directory of PNG images, which Windows reads at every size
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for side, data in images:
        directory += struct.pack("<BBBBHHII", side % 256, side % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, data in images)


def main(arguments):
    if len(arguments) < 3:
        sys.exit("usage: heart_icon.py OUT.png ART.xpm SIDE [MARGIN] | OUT.ico ART.xpm SIDE [ART.xpm SIDE]...")
    out, rest = Path(arguments[0]), arguments[1:]
    if out.suffix == ".ico":
        if len(rest) % 2:
            sys.exit("heart_icon.py: each art needs its side")
        pairs = zip(rest[::2], map(int, rest[1::2]))
        data = ico([(side, png(drawn(read_xpm(art), side))) for art, side in pairs])
    else:
        if len(rest) not in (2, 3):
            sys.exit("heart_icon.py: OUT.png ART.xpm SIDE [MARGIN]")
        data = png(drawn(read_xpm(rest[0]), *map(int, rest[1:])))
    out.write_bytes(data)


if __name__ == "__main__":
    main(sys.argv[1:])
