// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the Windows tests cannot do through X: type any text into the focused window as
// Unicode key events, whatever the keyboard map, and read the clipboard's text.
//   wine_input type TEXT
//   wine_input clipboard     prints it as UTF-8
#include <string>
#include <vector>
#include <windows.h>

namespace {

bool Type(const std::wstring& text) {
    std::vector<INPUT> keys;
    for (const wchar_t unit : text) {
        for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = unit;
            key.ki.dwFlags = KEYEVENTF_UNICODE | up;
            keys.push_back(key);
        }
    }
    const auto count = static_cast<UINT>(keys.size());
    return SendInput(count, keys.data(), sizeof(INPUT)) == count;
}

bool PrintClipboard() {
    if (!OpenClipboard(nullptr))
        return false;
    std::string utf8;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
        utf8.resize(size > 0 ? static_cast<size_t>(size) - 1 : 0);
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
        GlobalUnlock(data);
    }
    CloseClipboard();
    DWORD written = 0;
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
                     &written, nullptr) != 0;
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"type" && argc == 3)
        return Type(argv[2]) ? 0 : 1;
    if (what == L"clipboard" && argc == 2)
        return PrintClipboard() ? 0 : 1;
    return 2;
}
