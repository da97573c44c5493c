#include "reference/LoadedPicture.h"

#include "app/resources/ResourceIds.h"

namespace bench {
namespace reference {

LoadedPicture::LoadedPicture(HINSTANCE instance, int width, int height)
    : _bitmap(static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(PLOVIX_BITMAP_PICTURE),
                                              IMAGE_BITMAP, width, height, 0)))
    , _context(_bitmap ? CreateCompatibleDC(nullptr) : nullptr)
    , _previous(_context ? SelectObject(_context.get(), _bitmap.get()) : nullptr) {}

LoadedPicture::~LoadedPicture() {
    if (_previous != nullptr) {
        SelectObject(_context.get(), _previous);
    }
}

} // namespace reference
} // namespace bench
