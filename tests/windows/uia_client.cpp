// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a Windows screen reader gets of a window through UI Automation, as a client sees
// it, for screen_reader_test.py: finds the top-level window with this title, and prints
// one line for each focus change inside it, as it comes; "tree" on the input prints the
// window's tree, every element indented under its parent, and then "end". "controls"
// prints each visible child window's class, id and text, and then "end": Wine's UI
// Automation does not reach into a plain Win32 dialog such as a message box, whose
// text and buttons a user reads all the same.
//   uia_client.exe TITLE
#include <cstdio>
#include <mutex>
#include <ole2.h>
#include <string>
#include <uiautomation.h>
#include <windows.h>

namespace {

std::mutex printing; // the focus changes come on a thread of their own

std::string Utf8(const wchar_t* text, int length = -1) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
    if (length < 0)
        utf8.pop_back(); // the terminating zero
    return utf8;
}

void PrintLine(const std::string& line) {
    const std::lock_guard lock(printing);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

const char* ControlTypeName(int id) {
    switch (id) {
    case UIA_ButtonControlTypeId:
        return "Button";
    case UIA_CustomControlTypeId:
        return "Custom";
    case UIA_EditControlTypeId:
        return "Edit";
    case UIA_GroupControlTypeId:
        return "Group";
    case UIA_PaneControlTypeId:
        return "Pane";
    case UIA_ScrollBarControlTypeId:
        return "ScrollBar";
    case UIA_TextControlTypeId:
        return "Text";
    case UIA_WindowControlTypeId:
        return "Window";
    default:
        return "Other";
    }
}

VARIANT Property(HUIANODE node, PROPERTYID id) {
    VARIANT value;
    VariantInit(&value);
    UiaGetPropertyValue(node, id, &value);
    return value;
}

bool Flag(HUIANODE node, PROPERTYID id) {
    const VARIANT value = Property(node, id);
    return value.vt == VT_BOOL && value.boolVal == VARIANT_TRUE;
}

// ControlType "Name" and whether it takes the keyboard and has it, as one line.
std::string Describe(HUIANODE node) {
    VARIANT name = Property(node, UIA_NamePropertyId);
    const VARIANT type = Property(node, UIA_ControlTypePropertyId);
    std::string line = std::string(ControlTypeName(type.vt == VT_I4 ? type.lVal : 0)) + " \"" +
                       (name.vt == VT_BSTR ? Utf8(name.bstrVal, SysStringLen(name.bstrVal)) : "") +
                       "\"";
    VariantClear(&name);
    if (Flag(node, UIA_IsKeyboardFocusablePropertyId))
        line += " focusable";
    if (Flag(node, UIA_HasKeyboardFocusPropertyId))
        line += " focused";
    return line;
}

// Every element, as UiaNavigate gives them; a screen reader's control view leaves out
// only what a provider marks as no control, which Qt never does.
UiaCondition everything{ConditionType_True};
UiaCacheRequest justTheNode{&everything, TreeScope_Element,         nullptr, 0, nullptr,
                            0,           AutomationElementMode_Full};

HUIANODE NodeIn(SAFEARRAY* found) {
    HUIANODE node = nullptr;
    LONG first[2] = {0, 0};
    VARIANT value;
    VariantInit(&value);
    if (found && SUCCEEDED(SafeArrayGetElement(found, first, &value)))
        UiaHUiaNodeFromVariant(&value, &node);
    return node;
}

HUIANODE Navigate(HUIANODE node, NavigateDirection direction) {
    SAFEARRAY* found = nullptr;
    BSTR structure = nullptr;
    UiaNavigate(node, direction, &everything, &justTheNode, &found, &structure);
    SysFreeString(structure);
    HUIANODE next = NodeIn(found);
    SafeArrayDestroy(found);
    return next;
}

void PrintTree(HUIANODE node, int depth) {
    PrintLine(std::string(2 * depth, ' ') + Describe(node));
    for (HUIANODE child = Navigate(node, NavigateDirection_FirstChild); child;) {
        PrintTree(child, depth + 1);
        HUIANODE next = Navigate(child, NavigateDirection_NextSibling);
        UiaNodeRelease(child);
        child = next;
    }
}

// Class id "text", with the text's line breaks written as \r and \n, so that one
// control is one line.
BOOL CALLBACK PrintControl(HWND control, LPARAM /*unused*/) {
    if (!IsWindowVisible(control))
        return TRUE;
    wchar_t kind[64];
    const int kindLength = GetClassNameW(control, kind, 64);
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
    std::string line = Utf8(kind, kindLength) + " " + std::to_string(GetDlgCtrlID(control)) + " \"";
    for (const char unit : Utf8(text.c_str(), static_cast<int>(text.size())))
        line += unit == '\r' ? "\\r" : unit == '\n' ? "\\n" : std::string(1, unit);
    PrintLine(line + "\"");
    return TRUE;
}

void WINAPI FocusChanged(UiaEventArgs* /*args*/, SAFEARRAY* data, BSTR /*structure*/) {
    if (HUIANODE node = NodeIn(data))
        PrintLine("focus " + Describe(node));
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 2) {
        std::fputs("usage: uia_client.exe TITLE\n", stderr);
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HWND window = nullptr;
    for (int tries = 0; !window && tries < 300; ++tries, Sleep(100))
        window = FindWindowW(nullptr, argv[1]);
    HUIANODE root = nullptr;
    if (!window || FAILED(UiaNodeFromHandle(window, &root))) {
        std::fputs("uia_client: no such window\n", stderr);
        return 1;
    }
    // On the window's node, where Wine 10 passes on the focus changes inside it.
    HUIAEVENT focus = nullptr;
    if (FAILED(UiaAddEvent(root, UIA_AutomationFocusChangedEventId, FocusChanged, TreeScope_Subtree,
                           nullptr, 0, &justTheNode, &focus))) {
        std::fputs("uia_client: cannot listen to focus changes\n", stderr);
        return 1;
    }
    PrintLine("ready");
    char command[64];
    while (std::fgets(command, sizeof command, stdin)) {
        if (std::string(command) == "tree\n") {
            PrintTree(root, 0);
            PrintLine("end");
        } else if (std::string(command) == "controls\n") {
            EnumChildWindows(window, PrintControl, 0);
            PrintLine("end");
        }
    }
    UiaRemoveEvent(focus);
    UiaNodeRelease(root);
    CoUninitialize();
    return 0;
}
