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

BOOL CALLBACK PrintText(HWND control, LPARAM /*context*/) {
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
    std::printf("%s\n", utf8.c_str());
    return TRUE;
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
        SendMessageW(window, WM_COMMAND, IDOK, 0);
        Sleep(300);
    }
    EnumChildWindows(window, PrintText, 0);
    return 0;
}
