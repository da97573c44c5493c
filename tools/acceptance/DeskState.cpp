#include "acceptance/DeskState.h"

#include <cstdio>

#include "platform/errorresources/SystemErrors.h"
#include "platform/handles/UniqueHandle.h"

namespace tools {
namespace acceptance {

namespace {

using platform::errorresources::SystemErrors;

const char* const DESKTOP_KEY = "Control Panel\\Desktop";
const char* const SAVER_VALUE = "SCRNSAVE.EXE";

void closeKey(HKEY key) {
    RegCloseKey(key);
}

using Key = platform::handles::UniqueHandle<HKEY, &closeKey>;

std::string failed(const std::string& call, const std::string& what) {
    return "Could not put back " + what + " using '" + call + "'.\n" +
           SystemErrors::lastErrorText();
}

std::string failedWith(LONG code, const std::string& call, const std::string& what) {
    return "Could not put back " + what + " using '" + call + "'.\n" +
           SystemErrors::map(static_cast<int>(code));
}

std::optional<std::string> saverProgram() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const Key key(opened);
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), SAVER_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    return std::string(value);
}

bool sameMode(const DEVMODEA& a, const DEVMODEA& b) {
    return a.dmPelsWidth == b.dmPelsWidth && a.dmPelsHeight == b.dmPelsHeight &&
           a.dmPosition.x == b.dmPosition.x && a.dmPosition.y == b.dmPosition.y &&
           a.dmDisplayFrequency == b.dmDisplayFrequency;
}

} // namespace

DeskState::DeskState() {
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    for (DWORD index = 0; EnumDisplayDevicesA(nullptr, index, &device, 0) != 0; ++index) {
        Display display = {device.DeviceName, {}};
        display.mode.dmSize = sizeof display.mode;
        if ((device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0 &&
            EnumDisplaySettingsExA(device.DeviceName, ENUM_CURRENT_SETTINGS, &display.mode, 0) !=
                0) {
            _displays.push_back(display);
        }
    }
    _pointerKnown = GetCursorPos(&_pointer) != 0;
    _saver.known = SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &_saver.active, 0) != 0 &&
                   SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &_saver.timeout, 0) != 0 &&
                   SystemParametersInfoA(SPI_GETSCREENSAVESECURE, 0, &_saver.secure, 0) != 0;
    _saver.program = saverProgram();
}

std::vector<std::string> DeskState::differences(const DeskState& now, Part part) const {
    std::vector<std::string> found;
    switch (part) {
    case Part::DISPLAY_MODES:
        for (const Display& display : _displays) {
            const Display* seen = now._find(display.device);
            if (seen == nullptr || !sameMode(display.mode, seen->mode)) {
                found.push_back(display.device + " was " + _describe(display.mode) + ", is " +
                                (seen == nullptr ? "off" : _describe(seen->mode)));
            }
        }
        for (const Display& display : now._displays) {
            if (_find(display.device) == nullptr) {
                found.push_back(display.device + " was off, is " + _describe(display.mode));
            }
        }
        break;
    case Part::POINTER:
        if (_pointerKnown &&
            (!now._pointerKnown || _pointer.x != now._pointer.x || _pointer.y != now._pointer.y)) {
            char text[96];
            std::snprintf(text, sizeof text, "the pointer was at %ld,%ld, is at %ld,%ld",
                          _pointer.x, _pointer.y, now._pointer.x, now._pointer.y);
            found.push_back(text);
        }
        break;
    case Part::SAVER_SETTINGS:
        if (_saver.known &&
            (!now._saver.known || _saver.active != now._saver.active ||
             _saver.timeout != now._saver.timeout || _saver.secure != now._saver.secure)) {
            found.push_back("the screen saver's switch, wait or password setting changed");
        }
        if (_saver.program != now._saver.program) {
            found.push_back("the screen saver was \"" + _saver.program.value_or("") + "\", is \"" +
                            now._saver.program.value_or("") + "\"");
        }
        break;
    }
    return found;
}

std::vector<std::string> DeskState::restore(Part part) const {
    std::vector<std::string> failures;
    switch (part) {
    case Part::DISPLAY_MODES: {
        const DeskState now;
        for (const Display& display : _displays) {
            const Display* seen = now._find(display.device);
            if (seen != nullptr && sameMode(display.mode, seen->mode)) {
                continue;
            }
            DEVMODEA mode = display.mode;
            mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_POSITION | DM_DISPLAYFREQUENCY;
            // A monitor that was switched off is attached again only
            // through the registry; a changed mode is set for now alone.
            const DWORD flags = seen == nullptr ? CDS_UPDATEREGISTRY | CDS_NORESET : CDS_NORESET;
            const LONG result =
                ChangeDisplaySettingsExA(display.device.c_str(), &mode, nullptr, flags, nullptr);
            if (result != DISP_CHANGE_SUCCESSFUL) {
                failures.push_back("Could not put back the display mode using "
                                   "'ChangeDisplaySettingsExA'.\nDevice: " +
                                   display.device + "\nResult: " + std::to_string(result) + "\n");
            }
        }
        const LONG result = ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
        if (result != DISP_CHANGE_SUCCESSFUL) {
            failures.push_back("Could not apply the display modes using "
                               "'ChangeDisplaySettingsExA'.\nResult: " +
                               std::to_string(result) + "\n");
        }
        break;
    }
    case Part::POINTER:
        if (_pointerKnown && SetCursorPos(_pointer.x, _pointer.y) == 0) {
            failures.push_back(failed("SetCursorPos", "the pointer"));
        }
        break;
    case Part::SAVER_SETTINGS: {
        const UINT change = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;
        if (_saver.known &&
            (SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, static_cast<UINT>(_saver.active),
                                   nullptr, change) == 0 ||
             SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, _saver.timeout, nullptr, change) ==
                 0 ||
             SystemParametersInfoA(SPI_SETSCREENSAVESECURE, static_cast<UINT>(_saver.secure),
                                   nullptr, change) == 0)) {
            failures.push_back(failed("SystemParametersInfoA", "the screen saver's settings"));
        }
        HKEY opened = nullptr;
        LONG code = RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_SET_VALUE, &opened);
        if (code != ERROR_SUCCESS) {
            failures.push_back(failedWith(code, "RegOpenKeyExA", "the screen saver"));
            break;
        }
        const Key key(opened);
        if (_saver.program) {
            code = RegSetValueExA(key.get(), SAVER_VALUE, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(_saver.program->c_str()),
                                  static_cast<DWORD>(_saver.program->size() + 1));
        } else {
            code = RegDeleteValueA(key.get(), SAVER_VALUE);
        }
        if (code != ERROR_SUCCESS && code != ERROR_FILE_NOT_FOUND) {
            failures.push_back(failedWith(
                code, _saver.program ? "RegSetValueExA" : "RegDeleteValueA", "the screen saver"));
        }
        break;
    }
    }
    return failures;
}

std::string DeskState::_describe(const DEVMODEA& mode) {
    char text[96];
    std::snprintf(text, sizeof text, "%lux%lu at %ld,%ld, %lu Hz", mode.dmPelsWidth,
                  mode.dmPelsHeight, mode.dmPosition.x, mode.dmPosition.y, mode.dmDisplayFrequency);
    return text;
}

const DeskState::Display* DeskState::_find(const std::string& device) const {
    for (const Display& display : _displays) {
        if (display.device == device) {
            return &display;
        }
    }
    return nullptr;
}

} // namespace acceptance
} // namespace tools
