#include "desktopprobe/ScreenReader.h"

#include <stdexcept>
#include <string>

#include "platform/errorresources/SystemErrors.h"

namespace tools {
namespace desktopprobe {

ScreenReader::ScreenReader()
    : _screen(GetDC(nullptr)) {
    if (!_screen) {
        platform::errorresources::SystemErrors::throwLastError<std::runtime_error>(
            [](const std::string& reason) {
                return "Could not open the screen using 'GetDC'.\n" + reason;
            });
    }
}

void ScreenReader::_release(HDC screen) {
    ReleaseDC(nullptr, screen);
}

} // namespace desktopprobe
} // namespace tools
