#ifndef PLOVIX_PICTURE_PICTURELAYOUT_H
#define PLOVIX_PICTURE_PICTURELAYOUT_H

#include <cstdint>

namespace picture {

// The start-up screen as drawn, shown and looked for: the one place for the
// facts that the picture generator draws, the saver shows and blinks, the
// preview host gives room to, and the tests and the benchmark check.
class PictureLayout {
public:
    PictureLayout() = delete;

    struct Rgb {
        std::uint8_t red;
        std::uint8_t green;
        std::uint8_t blue;
    };
    // The text area, and the border with the text.
    static constexpr Rgb DARK = {57, 57, 222};
    static constexpr Rgb LIGHT = {156, 156, 255};

    // The picture's size, and the display's while the saver shows it.
    static constexpr int WIDTH = 800;
    static constexpr int HEIGHT = 600;
    // The text area: 40 columns and 25 rows of 16 x 16 cells.
    static constexpr int AREA_LEFT = 80;
    static constexpr int AREA_TOP = 94;
    static constexpr int COLUMNS = 40;
    static constexpr int ROWS = 25;
    static constexpr int CELL = 16;

    // The banner starts in row 1, column 4; the ready prompt takes row 5.
    static constexpr int BANNER_ROW = 1;
    static constexpr int BANNER_COLUMN = 4;
    static constexpr int PROMPT_ROW = 5;

    // The cursor: the first cell of the row under the prompt, a block one
    // row taller than a cell, so that it sits on a dark line.
    static constexpr int CURSOR_LEFT = AREA_LEFT;
    static constexpr int CURSOR_TOP = AREA_TOP + (PROMPT_ROW + 1) * CELL;
    static constexpr int CURSOR_WIDTH = CELL;
    static constexpr int CURSOR_HEIGHT = CELL + 1;

    // Where the tests, the commands and the benchmark look for the picture: a
    // point of the border, one of the text area, the middle of the cursor
    // cell and a point of the banner's first letter.
    struct Point {
        int x;
        int y;
    };
    static constexpr Point BORDER_SAMPLE = {10, 10};
    static constexpr Point TEXT_AREA_SAMPLE = {400, 400};
    static constexpr Point CURSOR_SAMPLE = {CURSOR_LEFT + CELL / 2, CURSOR_TOP + CELL / 2};
    static constexpr Point BANNER_SAMPLE = {AREA_LEFT + BANNER_COLUMN * CELL + 1,
                                            AREA_TOP + BANNER_ROW* CELL + 1};

    // The cursor shows and hides by turns, each for this long.
    static constexpr unsigned int BLINK_PERIOD_MS = 350;
    // The blink timer's identifier on the saver's window.
    static constexpr std::uintptr_t BLINK_TIMER = 123456;

    // The preview area of the Screen Saver Settings dialog.
    static constexpr int PREVIEW_WIDTH = 152;
    static constexpr int PREVIEW_HEIGHT = 112;
};

static_assert(PictureLayout::BORDER_SAMPLE.x < PictureLayout::AREA_LEFT &&
                  PictureLayout::TEXT_AREA_SAMPLE.x > PictureLayout::AREA_LEFT &&
                  PictureLayout::TEXT_AREA_SAMPLE.y >
                      PictureLayout::CURSOR_TOP + PictureLayout::CURSOR_HEIGHT &&
                  PictureLayout::TEXT_AREA_SAMPLE.y <
                      PictureLayout::AREA_TOP + PictureLayout::ROWS * PictureLayout::CELL,
              "the border's point lies left of the text area, the text area's in it, under "
              "the cursor");

} // namespace picture

#endif
