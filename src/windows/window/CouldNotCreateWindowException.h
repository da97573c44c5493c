#ifndef PLOVIX_WINDOWS_WINDOW_COULDNOTCREATEWINDOWEXCEPTION_H
#define PLOVIX_WINDOWS_WINDOW_COULDNOTCREATEWINDOWEXCEPTION_H

#include <string>

#include "windows/window/WindowException.h"

namespace windows {
namespace window {

// Creating a window failed.
class CouldNotCreateWindowException : public WindowException {
public:
    explicit CouldNotCreateWindowException(const std::string& message);
};

} // namespace window
} // namespace windows

#endif
