#include "desktopprobe/ScreenReader.h"

#include <stdexcept>
#include <string>

#include "platform/errorresources/SystemErrors.h"

namespace tools {
namespace desktopprobe {

ScreenReader::ScreenReader()
    : _screen(GetDC(nullptr)) {
    if (_screen == nullptr) {
        const int error = static_cast<int>(GetLastError());
        throw std::runtime_error(std::string("Could not open the screen using 'GetDC'.\n") +
                                 platform::errorresources::SystemErrors::map(error));
    }
}

ScreenReader::~ScreenReader() {
    ReleaseDC(nullptr, _screen);
}

} // namespace desktopprobe
} // namespace tools
