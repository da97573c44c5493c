#include "app/CoverPainter.h"

#include <cstdint>

#include "windows/graphics/WindowDeviceContext.h"
#include "windows/graphics/WindowsBitmapException.h"

namespace app {

using windows::graphics::PaintContext;
using windows::graphics::WindowDeviceContext;
using windows::graphics::WindowsBitmap;
using windows::graphics::WindowsBitmapException;

namespace {

// Black over the part of a cover's window that its picture leaves free.
void fillAround(HDC dc, const MonitorLayout::Cover& cover) {
    const MonitorLayout::Area& picture = cover.picture;
    const LONG width = cover.window.width;
    const LONG height = cover.window.height;
    const LONG pictureRight = picture.left + picture.width;
    const LONG pictureBottom = picture.top + picture.height;
    const RECT bands[] = {
        {0, 0, width, picture.top},
        {0, pictureBottom, width, height},
        {0, picture.top, picture.left, pictureBottom},
        {pictureRight, picture.top, width, pictureBottom},
    };
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (const RECT& band : bands) {
        if (band.right > band.left && band.bottom > band.top) {
            FillRect(dc, &band, black);
        }
    }
}

} // namespace

CoverPainter::CoverPainter(WindowsBitmap& picture, const RECT& cell)
    : _picture(picture)
    , _cell(cell) {}

RECT CoverPainter::cell(const MonitorLayout::Cover& cover) {
    const MonitorLayout::Area& picture = cover.picture;
    const std::int64_t width = _picture.getWidth();
    const std::int64_t height = _picture.getHeight();
    const auto across = [&](LONG x) {
        return static_cast<LONG>(picture.left + std::int64_t{x} * picture.width / width);
    };
    const auto down = [&](LONG y) {
        return static_cast<LONG>(picture.top + std::int64_t{y} * picture.height / height);
    };
    return RECT{across(_cell.left), down(_cell.top), across(_cell.right), down(_cell.bottom)};
}

void CoverPainter::paint(const PaintContext& painting, const MonitorLayout::Cover& cover,
                         WindowsBitmap& block) {
    const HDC dc = painting.deviceContext();
    const RECT cell = this->cell(cover);
    // A blink that could not draw invalidates the cell alone; anything else
    // was uncovered or moved and needs the whole cover.
    if (!EqualRect(&painting.paint().rcPaint, &cell)) {
        fillAround(dc, cover);
        const MonitorLayout::Area& picture = cover.picture;
        _picture.stretch(dc, picture.left, picture.top, picture.width, picture.height);
    }
    block.stretch(dc, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top);
}

void CoverPainter::blink(const MonitorCovers& covers, WindowsBitmap& block) {
    // Painted in the wake that blinks: a paint message of their own would
    // wake the run once more for every cover.
    for (std::size_t i = 0; i < covers.count(); ++i) {
        const RECT cell = this->cell(covers.cover(i));
        const WindowDeviceContext context(covers.handle(i));
        try {
            if (context.deviceContext() != nullptr) {
                block.stretch(context.deviceContext(), cell.left, cell.top, cell.right - cell.left,
                              cell.bottom - cell.top);
                continue;
            }
        } catch (const WindowsBitmapException&) {
            // Its paint message tries again.
        }
        InvalidateRect(covers.handle(i), &cell, FALSE);
    }
}

} // namespace app
