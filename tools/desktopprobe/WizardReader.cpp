#include "desktopprobe/WizardReader.h"

#include <commctrl.h>

#include <functional>

namespace tools {
namespace desktopprobe {

namespace {

const char* const DIALOG_CLASS = "#32770";
const char* const BUTTON_CLASS = "Button";
const char* const TREE_CLASS = "SysTreeView32";
// A control of another process answers within this, or reads as empty: a
// wizard busy installing must not hang the reader.
const UINT ANSWER_MS = 2000;
const DWORD POLL_MS = 10;

std::wstring wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) {
        return std::wstring();
    }
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &result[0], size);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

std::string narrow(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return std::string();
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

// The answer to a message sent to another process's control, or `otherwise`
// when it did not answer in time.
LRESULT ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT otherwise) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, ANSWER_MS,
                            &answer) == 0) {
        return otherwise;
    }
    return static_cast<LRESULT>(answer);
}

// The control's text as a user reads it: the access key's "&" dropped, "&&"
// kept as one.
std::string shownText(HWND control) {
    wchar_t buffer[1024] = {};
    ask(control, WM_GETTEXT, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(buffer), 0);
    std::wstring text;
    for (const wchar_t* at = buffer; *at != L'\0'; ++at) {
        if (*at == L'&') {
            ++at;
            if (*at == L'\0') {
                break;
            }
        }
        text += *at;
    }
    return narrow(text);
}

std::string className(HWND control) {
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    return name;
}

bool checkable(HWND button) {
    switch (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

std::string state(HWND control, const std::string& name) {
    if (name == BUTTON_CLASS && checkable(control)) {
        return ask(control, BM_GETCHECK, 0, 0, BST_UNCHECKED) == BST_CHECKED ? "checked"
                                                                             : "unchecked";
    }
    if (name == TREE_CLASS) {
        return "items=" + std::to_string(ask(control, TVM_GETCOUNT, 0, 0, 0));
    }
    return "-";
}

BOOL CALLBACK addControl(HWND child, LPARAM found) {
    WizardReader::Control control;
    control.className = className(child);
    control.id = GetDlgCtrlID(child);
    control.visible = IsWindowVisible(child) != FALSE;
    control.enabled = IsWindowEnabled(child) != FALSE;
    control.state = state(child, control.className);
    control.text = shownText(child);
    reinterpret_cast<std::vector<WizardReader::Control>*>(found)->push_back(control);
    return TRUE;
}

// The first window that EnumWindows or EnumChildWindows gives and `matches`.
struct Search {
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
};

BOOL CALLBACK findMatch(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<Search*>(search);
    if (wanted->matches(window)) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

// Asks `look` for a window until it gives one or `milliseconds` have passed.
HWND await(DWORD milliseconds, const std::function<HWND()>& look) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        const HWND found = look();
        if (found != nullptr || GetTickCount64() >= deadline) {
            return found;
        }
        Sleep(POLL_MS);
    }
}

} // namespace

HWND WizardReader::find(const std::string& title) {
    const std::wstring wanted = wide(title);
    // A wizard adds its page's name to its title, or a blank.
    Search search{[&wanted](HWND window) {
        wchar_t text[256] = {};
        return className(window) == DIALOG_CLASS && IsWindowVisible(window) != FALSE &&
               GetWindowTextW(window, text, sizeof text / sizeof text[0]) > 0 &&
               std::wstring(text).compare(0, wanted.size(), wanted) == 0;
    }};
    EnumWindows(findMatch, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<WizardReader::Control> WizardReader::controls(HWND wizard) {
    std::vector<Control> found;
    EnumChildWindows(wizard, addControl, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WizardReader::awaitText(const std::string& title, const std::string& text,
                             DWORD milliseconds) {
    return await(milliseconds, [&]() -> HWND {
        const HWND wizard = find(title);
        if (wizard != nullptr) {
            for (const Control& control : controls(wizard)) {
                if (control.visible && control.text == text) {
                    return wizard;
                }
            }
        }
        return nullptr;
    });
}

bool WizardReader::press(const std::string& title, const std::string& text, DWORD milliseconds) {
    const HWND button = await(milliseconds, [&]() -> HWND {
        const HWND wizard = find(title);
        if (wizard == nullptr) {
            return nullptr;
        }
        Search search{[&text](HWND child) {
            return className(child) == BUTTON_CLASS && IsWindowEnabled(child) != FALSE &&
                   shownText(child) == text;
        }};
        EnumChildWindows(wizard, findMatch, reinterpret_cast<LPARAM>(&search));
        return search.found;
    });
    return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

} // namespace desktopprobe
} // namespace tools
