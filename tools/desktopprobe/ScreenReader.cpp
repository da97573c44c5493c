#include "desktopprobe/ScreenReader.h"

#include <stdexcept>
#include <string>

#include "platform/errorresources/SystemErrors.h"

namespace tools {
namespace desktopprobe {

ScreenReader::ScreenReader()
    : _screen(GetDC(nullptr)) {
    if (_screen == nullptr) {
        platform::errorresources::SystemErrors::throwLastError<std::runtime_error>(
            [](const std::string& reason) {
                return "Could not open the screen using 'GetDC'.\n" + reason;
            });
    }
}

ScreenReader::~ScreenReader() {
    ReleaseDC(nullptr, _screen);
}

} // namespace desktopprobe
} // namespace tools
