#ifndef PLOVIX_WINDOWS_SCREENSAVER_SCREENSAVER_H
#define PLOVIX_WINDOWS_SCREENSAVER_SCREENSAVER_H

#include "windows/screensaver/WindowHandle.h"

namespace windows {
namespace screensaver {

// The three things Windows asks of a screen saver. Each returns when its mode
// has ended. Never deleted through this interface, hence no virtual destructor.
class Screensaver {
public:
    virtual void configure(HWND owner) = 0;
    virtual void runScreensaver() = 0;
    virtual void runPreview(HWND parent) = 0;

protected:
    Screensaver() = default;
    Screensaver(const Screensaver&) = default;
    Screensaver& operator=(const Screensaver&) = default;
    ~Screensaver() = default;
};

} // namespace screensaver
} // namespace windows

#endif
