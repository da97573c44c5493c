#include "reference/LoadedPicture.h"

#include "app/resources/ResourceIds.h"

namespace bench {
namespace reference {

LoadedPicture::LoadedPicture(HINSTANCE instance, int width, int height)
    : _bitmap(static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(PLOVIX_BITMAP_PICTURE),
                                              IMAGE_BITMAP, width, height, 0)))
    , _context(_bitmap != nullptr ? CreateCompatibleDC(nullptr) : nullptr)
    , _previous(_context != nullptr ? SelectObject(_context, _bitmap) : nullptr) {}

LoadedPicture::~LoadedPicture() {
    if (_previous != nullptr) {
        SelectObject(_context, _previous);
    }
    if (_context != nullptr) {
        DeleteDC(_context);
    }
    if (_bitmap != nullptr) {
        DeleteObject(_bitmap);
    }
}

} // namespace reference
} // namespace bench
