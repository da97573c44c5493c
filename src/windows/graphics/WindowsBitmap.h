#ifndef PLOVIX_WINDOWS_GRAPHICS_WINDOWSBITMAP_H
#define PLOVIX_WINDOWS_GRAPHICS_WINDOWSBITMAP_H

#include <windows.h>

namespace windows {
namespace graphics {

// A bitmap resource of this program, loaded at a requested size and kept
// selected in a memory device context compatible with the screen, ready to
// be copied onto a window. Owns the bitmap and the device context.
class WindowsBitmap {
public:
    // `width` or `height` 0 keeps the resource's own size in that direction.
    // The resource is taken from `module`, or from the program's own file
    // when that is null. Throws WindowsBitmapException; a failed construction
    // leaves nothing behind.
    WindowsBitmap(const char* resource, int width, int height, UINT loadFlags,
                  HINSTANCE module = nullptr);
    // A failed release throws WindowsBitmapException, unless another
    // exception is already on its way out, in which case it is reported as
    // a check so the program is not ended.
    // NOLINTNEXTLINE(bugprone-exception-escape): passes on a failed release
    virtual ~WindowsBitmap() noexcept(false);

    WindowsBitmap(const WindowsBitmap&) = delete;
    WindowsBitmap& operator=(const WindowsBitmap&) = delete;

    // Asked anew from the system at every call.
    int getWidth();
    int getHeight();
    void draw(HDC destination, int x, int y, int width, int height, int sourceX, int sourceY,
              DWORD rasterOperation);
    // Copies the whole bitmap scaled onto the given area, pixels repeated
    // or left out but never blended, so a whole multiple of its size stays
    // crisp.
    void stretch(HDC destination, int x, int y, int width, int height);
    // The memory device context holding the picture. Nothing outside the
    // tests asks for it; draw and stretch use it directly.
    HDC getDeviceContext();

private:
    BITMAP _getInfo();
    // Puts the old object back, deletes the bitmap, then the device context.
    // Returns the first failure's message, or null.
    const char* _release() noexcept;

    HDC _deviceContext;
    HBITMAP _bitmap;
    HGDIOBJ _previousObject;
    int _uncaughtAtConstruction;
};

} // namespace graphics
} // namespace windows

#endif
