#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The core as the page runs it (WebAssembly, through the page's own script) gives, byte
# for byte, what the native core gives, for names at the core's edges.
#   wasm_core_test.py SITE NATIVE_CORE
import json
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from support import native_analyses

SITE, NATIVE_CORE = Path(sys.argv[1]).resolve(), sys.argv[2]
ALPHABET = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯ"
NAMES = ["Ива", "ИВА", "ива", "Анна-Мария", "Йорданка Щърбова", "", " ", "John Smith", "Ёлка, Ыы, Ээ, ѝ",
         "Ива 😀 Ива", "\ud83dИва\ude00", "Ив\0а", "Д'Артанян 2\r\nМария\t", ALPHABET + ALPHABET.lower(),
         "".join(map(chr, range(0x3F0, 0x470))), "Щ" * 2000, (ALPHABET + " -") * 313]

# The page's script is an ES module; Node takes it for one in a folder that says so.
RUN = """import { readFileSync } from "node:fs";
import { loadAnalysis } from "./velinora.js";
const analyse = await loadAnalysis({ wasmBinary: readFileSync(process.argv[2]) });
const names = JSON.parse(readFileSync(0, "utf8"));
process.stdout.write(JSON.stringify(names.map((name) => Object.values(analyse(name)))));
"""
with tempfile.TemporaryDirectory() as folder:
    for name in ["velinora.js", "velinora-core.js"]:
        shutil.copy(SITE / name, folder)
    Path(folder, "package.json").write_text('{"type": "module"}')
    Path(folder, "run.js").write_text(RUN)
    wasm = json.loads(subprocess.run(["node", "run.js", SITE / "velinora-core.wasm"], cwd=folder, check=True,
                                     input=json.dumps(NAMES), stdout=subprocess.PIPE, encoding="utf-8").stdout)

native = native_analyses(NATIVE_CORE, NAMES)
failures = [f"{name[:24]!r}: {what} differs" for name, got, expected in zip(NAMES, wasm, native)
            for what, a, b in zip(["analysis", "announcement"], got, expected) if a != b]
if len(wasm) != len(NAMES) or len(native) != len(NAMES):
    failures.append(f"{len(wasm)} WebAssembly and {len(native)} native answers for {len(NAMES)} names")
print("\n".join(failures + [f"{len(NAMES)} names, {len(failures)} differences"]))
sys.exit(1 if failures else 0)
