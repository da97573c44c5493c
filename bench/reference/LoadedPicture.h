#ifndef PLOVIX_BENCH_REFERENCE_LOADEDPICTURE_H
#define PLOVIX_BENCH_REFERENCE_LOADEDPICTURE_H

#include <windows.h>

#include "platform/handles/UniqueHandle.h"

namespace bench {
namespace reference {

// The saver's picture at a given size, loaded from this program's resources
// by the saver's call and held in a memory device context to copy from.
class LoadedPicture {
public:
    LoadedPicture(HINSTANCE instance, int width, int height);
    // Puts the context's first object back before the context and the
    // picture go, the context first.
    ~LoadedPicture();
    LoadedPicture(const LoadedPicture&) = delete;
    LoadedPicture& operator=(const LoadedPicture&) = delete;

    // Null when the picture could not be loaded or selected.
    HDC context() const { return _previous != nullptr ? _context.get() : nullptr; }

private:
    platform::handles::UniqueHandle<HBITMAP, &DeleteObject> _bitmap;
    platform::handles::UniqueHandle<HDC, &DeleteDC> _context;
    HGDIOBJ _previous;
};

} // namespace reference
} // namespace bench

#endif
