#ifndef PLOVIX_WINDOWS_WINDOW_COULDNOTGETCLASSNAMEEXCEPTION_H
#define PLOVIX_WINDOWS_WINDOW_COULDNOTGETCLASSNAMEEXCEPTION_H

#include <string>

#include "windows/window/WindowException.h"

namespace windows {
namespace window {

// The system could not name a window's class.
class CouldNotGetClassNameException : public WindowException {
public:
    explicit CouldNotGetClassNameException(const std::string& message);
};

} // namespace window
} // namespace windows

#endif
