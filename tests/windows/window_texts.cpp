// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints, one per line, the texts a user reads in a window and its visible controls, after
// pressing its Next button a number of times: a page of a wizard as it is shown.
//   window_texts TITLE [NEXTS]
#include <cstdio>
#include <cwchar>
#include <string>
#include <windows.h>

namespace {

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A wizard's pages add a space to its title, which nobody sees.
HWND VisibleWindowTitled(const wchar_t* title) {
    struct Search {
        std::wstring title;
        HWND found = nullptr;
    } search{title};
    EnumWindows(
        [](HWND window, LPARAM context) {
            auto* search = reinterpret_cast<Search*>(context);
            std::wstring text = TextOf(window);
            text.erase(text.find_last_not_of(L' ') + 1);
            if (text != search->title || !IsWindowVisible(window))
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectText(HWND control, LPARAM context) {
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    const std::wstring text = TextOf(control);
    // A rich edit box holds a document, and a picture names its resource: neither is read.
    if (text.empty() || text.front() == L'\uFFFF' || !IsWindowVisible(control) ||
        std::wcsncmp(kind, L"RichEdit", 8) == 0)
        return TRUE;
    std::string utf8(text.size() * 4, '\0');
    utf8.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr)));
    reinterpret_cast<std::string*>(context)->append(utf8).append("\n");
    return TRUE;
}

// The texts once a page shows and has not changed for a second: a wizard builds its window
// first, then each page, a control at a time. A page is a dialog inside the window.
std::string SettledTexts(HWND window) {
    std::string before;
    for (int same = 0, tries = 0; same < 4 && tries < 120; ++tries) {
        Sleep(250);
        std::string now;
        EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&now));
        const HWND page = FindWindowExW(window, nullptr, L"#32770", nullptr);
        same = now == before && page && IsWindowVisible(page) ? same + 1 : 0;
        before = now;
    }
    return before;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    HWND window = nullptr;
    for (int tries = 0; tries < 300 && !(window = VisibleWindowTitled(argv[1])); ++tries)
        Sleep(100);
    if (!window)
        return 1;
    for (long next = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 0; next > 0; --next) {
        SettledTexts(window);
        SendMessageW(window, WM_COMMAND, IDOK, 0);
    }
    std::fputs(SettledTexts(window).c_str(), stdout);
    return 0;
}
