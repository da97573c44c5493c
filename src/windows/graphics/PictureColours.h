#ifndef PLOVIX_WINDOWS_GRAPHICS_PICTURECOLOURS_H
#define PLOVIX_WINDOWS_GRAPHICS_PICTURECOLOURS_H

#include <windows.h>

#include "picture/PictureLayout.h"

namespace windows {
namespace graphics {

// The picture's two blues as GDI reads them from a screen.
class PictureColours {
public:
    PictureColours() = delete;

    static constexpr COLORREF DARK =
        RGB(picture::PictureLayout::DARK.red, picture::PictureLayout::DARK.green,
            picture::PictureLayout::DARK.blue);
    static constexpr COLORREF LIGHT =
        RGB(picture::PictureLayout::LIGHT.red, picture::PictureLayout::LIGHT.green,
            picture::PictureLayout::LIGHT.blue);
};

} // namespace graphics
} // namespace windows

#endif
