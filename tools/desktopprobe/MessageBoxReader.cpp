#include "desktopprobe/MessageBoxReader.h"

namespace tools {
namespace desktopprobe {

namespace {

// The class every dialog box, message boxes included, is made of.
const char* const DIALOG_CLASS = "#32770";
// The static control that holds a message box's text.
const int TEXT_CONTROL = 0xFFFF;

// The box's icon is the one static control of icon style; its control number
// differs between Windows and Wine.
BOOL CALLBACK findIcon(HWND child, LPARAM found) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON*>(found) =
            reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND MessageBoxReader::find(const std::string& caption) {
    const HWND box = FindWindowA(DIALOG_CLASS, caption.c_str());
    // Made visible only once it is filled in.
    return box != nullptr && IsWindowVisible(box) ? box : nullptr;
}

MessageBoxReader::Contents MessageBoxReader::read(HWND box) {
    Contents contents;
    if (box == nullptr) {
        return contents;
    }
    contents.found = true;
    char buffer[4096] = {};
    GetDlgItemTextA(box, TEXT_CONTROL, buffer, sizeof buffer);
    contents.text = buffer;
    EnumChildWindows(box, findIcon, reinterpret_cast<LPARAM>(&contents.icon));
    contents.owner = GetWindow(box, GW_OWNER);
    return contents;
}

MessageBoxReader::Contents MessageBoxReader::answer(const std::string& caption,
                                                    DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        const HWND box = find(caption);
        if (box != nullptr) {
            Contents contents = read(box);
            contents.found = contents.found && PostMessageA(box, WM_COMMAND, IDOK, 0) != 0;
            return contents;
        }
        if (GetTickCount64() >= deadline) {
            return Contents();
        }
        Sleep(10);
    }
}

} // namespace desktopprobe
} // namespace tools
