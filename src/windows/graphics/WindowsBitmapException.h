#ifndef PLOVIX_WINDOWS_GRAPHICS_WINDOWSBITMAPEXCEPTION_H
#define PLOVIX_WINDOWS_GRAPHICS_WINDOWSBITMAPEXCEPTION_H

#include <string>

#include "exceptions/Exception.h"

namespace windows {
namespace graphics {

// Loading, selecting, measuring, drawing or releasing a bitmap failed.
class WindowsBitmapException : public exceptions::Exception {
public:
    explicit WindowsBitmapException(const std::string& message);

    const std::string& getMessage() const override;

private:
    std::string _message;
};

} // namespace graphics
} // namespace windows

#endif
