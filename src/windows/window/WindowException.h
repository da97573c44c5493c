#ifndef PLOVIX_WINDOWS_WINDOW_WINDOWEXCEPTION_H
#define PLOVIX_WINDOWS_WINDOW_WINDOWEXCEPTION_H

#include <string>

#include "exceptions/Exception.h"

namespace windows {
namespace window {

// Catch type for the failures of window classes and windows.
class WindowException : public exceptions::Exception {
public:
    explicit WindowException(const std::string& message);

    const std::string& getMessage() const override;

private:
    std::string _message;
};

} // namespace window
} // namespace windows

#endif
