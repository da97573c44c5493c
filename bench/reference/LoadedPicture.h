#ifndef PLOVIX_BENCH_REFERENCE_LOADEDPICTURE_H
#define PLOVIX_BENCH_REFERENCE_LOADEDPICTURE_H

#include <windows.h>

namespace bench {
namespace reference {

// The saver's picture at a given size, loaded from this program's resources
// by the saver's call and held in a memory device context to copy from.
class LoadedPicture {
public:
    LoadedPicture(HINSTANCE instance, int width, int height);
    ~LoadedPicture();
    LoadedPicture(const LoadedPicture&) = delete;
    LoadedPicture& operator=(const LoadedPicture&) = delete;

    // Null when the picture could not be loaded or selected.
    HDC context() const { return _previous != nullptr ? _context : nullptr; }

private:
    HBITMAP _bitmap;
    HDC _context;
    HGDIOBJ _previous;
};

} // namespace reference
} // namespace bench

#endif
