#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Cuts the window's face down to the letters it can show: every letter of the given texts
# (the window's or the page's, the paragraphs, the messages), and whatever a name may be
# typed in. OUT's ending says what it is: .woff2 for the page, .ttf for the Windows program.
# The same inputs give the same bytes.
#   subset_face.py FACE.ttf OUT TEXT_FILE...
import sys

from fontTools import subset

# A name may be typed in either alphabet.
TYPED = set(map(chr, [*range(0x20, 0x7F), *range(0x400, 0x460)]))


def main(face_file, out, *text_files):
    shown = "".join(open(name, encoding="utf-8").read() for name in text_files)
    flavor = "woff2" if out.endswith(".woff2") else None
    options = subset.Options(flavor=flavor, name_IDs=[0, 1, 2, 3, 4, 5, 6, 13, 14])  # its licence travels with it
    options.drop_tables.append("FFTM")  # its maker's timestamps
    face = subset.load_font(face_file, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(ord(c) for c in TYPED.union(shown) if c.isprintable()))
    subsetter.subset(face)
    subset.save_font(face, out, options)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit("usage: subset_face.py FACE.ttf OUT.woff2|OUT.ttf TEXT_FILE...")
    main(*sys.argv[1:])
