#ifndef PLOVIX_APP_COVERPAINTER_H
#define PLOVIX_APP_COVERPAINTER_H

#include <windows.h>

#include "app/MonitorCovers.h"
#include "app/MonitorLayout.h"
#include "windows/graphics/PaintContext.h"
#include "windows/graphics/WindowsBitmap.h"

namespace app {

// What the windows over the other monitors show: the run's picture scaled
// into each cover's picture area, black around it, and a block over the
// cover's cursor cell, the run's own cell scaled alike. Made for one paint or
// blink from the pictures of the moment; owns nothing.
class CoverPainter {
public:
    // `cell` is the run's cursor cell in `picture`, which must outlive the
    // painter.
    CoverPainter(windows::graphics::WindowsBitmap& picture, const RECT& cell);

    // The cursor cell in a cover's window.
    RECT cell(const MonitorLayout::Cover& cover);
    // Paints a cover's window in its WM_PAINT, with `block` in its cell.
    // Throws WindowsBitmapException when a picture cannot be drawn.
    void paint(const windows::graphics::PaintContext& painting, const MonitorLayout::Cover& cover,
               windows::graphics::WindowsBitmap& block);
    // Draws `block` into the cell of every cover at once; a cover that
    // cannot be drawn on now is left to its paint message.
    void blink(const MonitorCovers& covers, windows::graphics::WindowsBitmap& block);

private:
    windows::graphics::WindowsBitmap& _picture;
    RECT _cell;
};

} // namespace app

#endif
