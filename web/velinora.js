// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page: the core, built to WebAssembly, behind the window's name box, button and
// result box.

const Loading = "Програмата се зарежда. Анализът ще се покаже, щом тя е готова.";
const LoadFailed = "Програмата не успя да се зареди. Проверете връзката с интернет и презаредете " +
    "страницата. Ако и това не помогне, отворете я в по-нова версия на браузъра си.";

// Resolves to a function from a name to its analysis and what a screen reader is told.
// The core is imported here rather than at the top, so that a core that cannot load
// leaves this script running to say so. The name goes through the heap, not the stack,
// since a pasted name may be any length, and through TextEncoder, which keeps every
// letter of a string that holds a lone half of a surrogate pair.
export async function loadAnalysis(moduleOptions) {
    const { default: createCore } = await import("./velinora-core.js");
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

function startPage() {
    const [form, nameBox, button, resultBox, message, notice] =
        ["form", "name", "analyse", "result", "message", "notice"].map((id) => document.getElementById(id));

    // Orca takes a live region's text that repeats the last as an echo and says nothing,
    // so every other message ends in a no-break space, which no voice reads.
    let echo = false;
    const announce = (text) => {
        echo = !echo;
        notice.textContent = echo ? text + "\u00a0" : text;
    };
    const show = (text) => {
        message.textContent = text;
        message.hidden = !text;
        if (text) {
            announce(text);
        }
    };

    let analyse;
    let asked = false; // before the core was ready
    const answer = () => {
        const { result, announcement } = analyse(nameBox.value);
        resultBox.value = result;
        // Reached by Tab, the box reads from its first line, not from where a new value
        // leaves the caret, at its end.
        resultBox.setSelectionRange(0, 0);
        resultBox.scrollTop = 0;
        nameBox.focus();
        announce(announcement);
    };
    form.addEventListener("submit", (event) => {
        event.preventDefault();
        if (analyse) {
            answer();
        } else if (!button.disabled) {
            asked = true;
            nameBox.focus();
            show(Loading);
        }
    });

    loadAnalysis().then((loaded) => {
        analyse = loaded;
        show("");
        if (asked) {
            answer();
        }
        // Once the page works: the worker's copying of the site would only slow its start.
        navigator.serviceWorker?.register("sw.js");
    }, (error) => {
        button.disabled = true;
        show(LoadFailed);
        console.error(error);
    });
}

if (globalThis.document) {
    startPage();
}
