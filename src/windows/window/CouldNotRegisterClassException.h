#ifndef PLOVIX_WINDOWS_WINDOW_COULDNOTREGISTERCLASSEXCEPTION_H
#define PLOVIX_WINDOWS_WINDOW_COULDNOTREGISTERCLASSEXCEPTION_H

#include <string>

#include "windows/window/WindowException.h"

namespace windows {
namespace window {

// Registering a window class failed.
class CouldNotRegisterClassException : public WindowException {
public:
    explicit CouldNotRegisterClassException(const std::string& message);
};

} // namespace window
} // namespace windows

#endif
