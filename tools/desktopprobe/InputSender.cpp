#include "desktopprobe/InputSender.h"

namespace tools {
namespace desktopprobe {

namespace {

bool send(INPUT* inputs, UINT count) {
    return SendInput(count, inputs, sizeof inputs[0]) == count;
}

} // namespace

bool InputSender::key(WORD virtualKey) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return send(input, 2);
}

bool InputSender::click() {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return send(input, 2);
}

bool InputSender::moveMouse(int index) {
    // Absolute positions run from 0 to 65535 across the screen.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (300 + (index % 2) * 20) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = 300 * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return send(&input, 1);
}

bool InputSender::moveMouseTo(int x, int y) {
    // Absolute positions on the virtual desk run from 0 to 65535 across all
    // monitors.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x - left) * 65535 / (width - 1);
    input.mi.dy = (y - top) * 65535 / (height - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return send(&input, 1);
}

} // namespace desktopprobe
} // namespace tools
