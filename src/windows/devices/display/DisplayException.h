#ifndef PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYEXCEPTION_H
#define PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYEXCEPTION_H

#include <string>

#include "exceptions/Exception.h"

namespace windows {
namespace devices {
namespace display {

// A display mode could not be read or applied. A refused change carries
// ChangeDisplaySettings' result (DISP_CHANGE_SUCCESSFUL, 0, otherwise), so
// that a caller can tell a mode the display lacks from other failures.
class DisplayException : public exceptions::Exception {
public:
    explicit DisplayException(const std::string& message, long result = 0);

    const std::string& getMessage() const override;
    long getResult() const { return _result; }

private:
    std::string _message;
    long _result;
};

} // namespace display
} // namespace devices
} // namespace windows

#endif
