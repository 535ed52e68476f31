# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Where the tests of every front end take what it must show and say: the analyses and the
# announcements from the core itself, through the core tool the build makes for this
# machine (VELINORA_CORE_TOOL), and the window's layout as designed (window_design.json),
# against which the window and the page, both built from data/window_layout.json, are held.
import json
import os
import struct
import subprocess
from pathlib import Path


def analyses(names):  # [(result, announcement)] for each name, with CR LF between lines
    def utf16(text):
        return text.encode("utf-16-le", "surrogatepass")

    names_in = b"".join(struct.pack("<I", len(utf16(name)) // 2) + utf16(name) for name in names)
    out = subprocess.run([os.environ["VELINORA_CORE_TOOL"]], input=names_in, capture_output=True, check=True).stdout
    texts = []
    while out:
        units = struct.unpack_from("<I", out)[0]
        texts.append(out[4 : 4 + 2 * units].decode("utf-16-le", "surrogatepass"))
        out = out[4 + 2 * units :]
    return list(zip(texts[::2], texts[1::2]))


def announcement(name):
    return analyses([name])[0][1]


# {control: {"left", "top", and but for a label "width", "height"; "font" but for the form}},
# in pixels at 96 dpi: the design's twips are 15 to a pixel, and its points 3 to 4 pixels.
def layout():
    design = json.loads(Path(__file__).with_name("window_design.json").read_text())
    return {
        control: {edge: round(value * 4 / 3 if edge == "font" else value / 15) for edge, value in box.items()}
        for control, box in design.items()
    }
