// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page: the core, built to WebAssembly, behind the window's name box, button and
// result box.

const Loading = "Програмата се зарежда. Анализът ще се покаже, щом тя е готова.";
const LoadFailed = "Програмата не успя да се зареди. Проверете връзката с интернет и презаредете " +
    "страницата. Ако и това не помогне, отворете я в по-нова версия на браузъра си или в друг " +
    "браузър.";

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

// The name a link carries in its fragment, percent-encoded as browsers write it.
function nameInAddress() {
    const fragment = location.hash.slice(1);
    try {
        return decodeURIComponent(fragment);
    } catch {
        return fragment; // a stray % is a character of the name
    }
}

// The address names the analysed name, so that it can be copied and sent as any address.
// Replaced, not pushed: Back leaves the page rather than walking through every name. A
// text far longer than any name (a pasted page, say) leaves none: as a link it would be
// cut short, and the browser would carry it in its history.
const LongestLink = 2000;
function putNameInAddress(name) {
    // A lone half of a surrogate pair cannot be encoded; it is no letter either.
    const fragment = encodeURIComponent(name.replace(/\p{Cs}/gu, "\ufffd"));
    const named = fragment && fragment.length <= LongestLink;
    history.replaceState(history.state, "", named ? "#" + fragment : location.pathname + location.search);
}

function startPage() {
    const [form, nameBox, button, resultBox, printed, message, notice] =
        ["form", "name", "analyse", "result", "printed", "message", "notice"].map((id) => document.getElementById(id));

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
    // A printed text area shows only what fits in it; the printed page shows the whole
    // text, as the box holds it, the user's own edits included.
    const keepPrinted = () => {
        printed.textContent = resultBox.value;
    };
    resultBox.addEventListener("input", keepPrinted);

    let analyse;
    let asked = false; // before the core was ready
    const answer = () => {
        const { result, announcement } = analyse(nameBox.value);
        resultBox.value = result;
        keepPrinted();
        // Reached by Tab, the box reads from its first line, not from where a new value
        // leaves the caret, at its end.
        resultBox.setSelectionRange(0, 0);
        resultBox.scrollTop = 0;
        nameBox.focus();
        announce(announcement);
        putNameInAddress(nameBox.value);
    };
    const ask = (quietly) => {
        if (analyse) {
            answer();
        } else if (!button.disabled) {
            asked = true;
            nameBox.focus();
            if (!quietly) {
                show(Loading);
            }
        }
    };
    form.addEventListener("submit", (event) => {
        event.preventDefault();
        ask(false);
    });
    // A link with a name shows its analysis at once, as if the name had been typed, and
    // so does a name typed into the address.
    const askAddress = () => {
        nameBox.value = nameInAddress();
        ask(true);
    };
    if (location.hash) {
        askAddress();
    }
    addEventListener("hashchange", askAddress);

    // Busy until there is an analysis to show, or a word of why there is none.
    loadAnalysis().then((loaded) => {
        analyse = loaded;
        resultBox.removeAttribute("aria-busy");
        show("");
        if (asked) {
            answer();
        }
        // Once the page works: the worker's copying of the site would only slow its start.
        navigator.serviceWorker?.register("sw.js");
    }, (error) => {
        resultBox.removeAttribute("aria-busy");
        button.disabled = true;
        show(LoadFailed);
        console.error(error);
    });
}

if (globalThis.document) {
    startPage();
}
