#ifndef PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYEXCEPTION_H
#define PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYEXCEPTION_H

#include <string>

#include "exceptions/Exception.h"

namespace windows {
namespace devices {
namespace display {

// A display mode could not be read or applied.
class DisplayException : public exceptions::Exception {
public:
    explicit DisplayException(const std::string& message);

    const std::string& getMessage() const override;

private:
    std::string _message;
};

} // namespace display
} // namespace devices
} // namespace windows

#endif
