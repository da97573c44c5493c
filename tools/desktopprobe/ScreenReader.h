#ifndef PLOVIX_TOOLS_DESKTOPPROBE_SCREENREADER_H
#define PLOVIX_TOOLS_DESKTOPPROBE_SCREENREADER_H

#include <windows.h>

#include <string>

#include "platform/handles/UniqueHandle.h"

namespace tools {
namespace desktopprobe {

// The screen as the display driver shows it, read pixel by pixel: what a
// user sees, whichever process painted it. Owns the screen's device context.
class ScreenReader {
public:
    // Throws std::runtime_error when the screen cannot be opened.
    ScreenReader();

    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    COLORREF pixel(int x, int y) const { return GetPixel(_screen.get(), x, y); }
    // Writes what `area` of the screen shows now to a 24-bit BMP file, which
    // every browser shows. Throws std::runtime_error, naming the failed call.
    void save(const RECT& area, const std::string& path) const;

private:
    static void _release(HDC screen);

    platform::handles::UniqueHandle<HDC, &ScreenReader::_release> _screen;
};

} // namespace desktopprobe
} // namespace tools

#endif
