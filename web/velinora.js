// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page: the core, built to WebAssembly, behind the window's name box, button and
// result box.
import createCore from "./velinora-core.js";

// Resolves to a function from a name to its analysis and what a screen reader is told.
// The name goes through the heap, not the stack, since a pasted name may be any length,
// and through TextEncoder, which keeps every letter of a string that holds a lone half
// of a surrogate pair.
export async function loadAnalysis(moduleOptions) {
    const core = await createCore(moduleOptions);
    const encoder = new TextEncoder();
    const [analyze, announce] = ["velinora_analyze", "velinora_announce"].map(
        (name) => core.cwrap(name, "string", ["number", "number"]));
    return (name) => {
        const bytes = encoder.encode(name);
        const at = core._malloc(bytes.length);
        try {
            core.writeArrayToMemory(bytes, at);
            return { result: analyze(at, bytes.length), announcement: announce(at, bytes.length) };
        } finally {
            core._free(at);
        }
    };
}

async function startPage() {
    const [form, nameBox, button, resultBox, notice] =
        ["form", "name", "analyse", "result", "notice"].map((id) => document.getElementById(id));
    const analyse = await loadAnalysis();

    let pendingNotice;
    form.addEventListener("submit", (event) => {
        event.preventDefault();
        const { result, announcement } = analyse(nameBox.value);
        resultBox.value = result;
        nameBox.focus();
        // A live region speaks when its text changes: emptied first, the same name
        // analysed twice is announced twice.
        notice.textContent = "";
        clearTimeout(pendingNotice);
        pendingNotice = setTimeout(() => { notice.textContent = announcement; }, 100);
    });
    button.disabled = false;
    // Once the page works: the worker's copying of the site would only slow its start.
    navigator.serviceWorker?.register("sw.js");
}

if (globalThis.document) {
    startPage();
}
