#include "picturegen/PictureGenerator.h"

#include <array>
#include <cstring>

#include "picture/PictureLayout.h"
#include "picturegen/Font.h"

namespace tools {
namespace picturegen {

using picture::PictureLayout;

namespace {

// Icon colours beyond the two blues.
const std::uint8_t BEZEL = 2;
const std::uint8_t SHADE = 3;
const std::uint8_t CLEAR = 15; // see-through in the icon

void drawText(IndexedImage& image, int row, int column, const char* text) {
    for (const char* c = text; *c != '\0'; ++c, ++column) {
        const Font::Glyph& glyph = Font::glyph(*c);
        const int left = PictureLayout::AREA_LEFT + column * PictureLayout::CELL;
        const int top = PictureLayout::AREA_TOP + row * PictureLayout::CELL;
        for (int gy = 0; gy < 8; ++gy) {
            for (int gx = 0; gx < 8; ++gx) {
                if (glyph[static_cast<std::size_t>(gy)][static_cast<std::size_t>(gx)] == '#') {
                    // Each glyph pixel is two screen pixels wide and high.
                    image.fill(left + 2 * gx, top + 2 * gy, 2, 2, PictureGenerator::LIGHT);
                }
            }
        }
    }
}

} // namespace

const PictureGenerator::Line PictureGenerator::LINES[3] = {
    {PictureLayout::BANNER_ROW, PictureLayout::BANNER_COLUMN, "PLOVIX PX-40 HOME COMPUTER V1.2"},
    {3, 1, "40K MEMORY FITTED, 36214 CELLS AT HAND"},
    {PictureLayout::PROMPT_ROW, 0, "AWAIT:"},
};

Palette PictureGenerator::palette() {
    Palette colours = {};
    const auto rgb = [](const PictureLayout::Rgb& colour) {
        return Rgb{colour.red, colour.green, colour.blue};
    };
    colours[DARK] = rgb(PictureLayout::DARK);
    colours[LIGHT] = rgb(PictureLayout::LIGHT);
    colours[BEZEL] = Rgb{88, 88, 104};
    colours[SHADE] = Rgb{40, 40, 52};
    return colours;
}

IndexedImage PictureGenerator::startupScreen() {
    IndexedImage image(PictureLayout::WIDTH, PictureLayout::HEIGHT, LIGHT);
    image.fill(PictureLayout::AREA_LEFT, PictureLayout::AREA_TOP,
               PictureLayout::COLUMNS * PictureLayout::CELL,
               PictureLayout::ROWS * PictureLayout::CELL, DARK);
    for (const Line& line : LINES) {
        drawText(image, line.row, line.column, line.text);
    }
    return image;
}

IndexedImage PictureGenerator::cursorBlock() {
    // One row taller than a cell: the block sits on a dark line, as the
    // cursor does under a row of text.
    IndexedImage image(PictureLayout::CURSOR_WIDTH, PictureLayout::CURSOR_HEIGHT, LIGHT);
    image.fill(0, PictureLayout::CELL, PictureLayout::CURSOR_WIDTH, 1, DARK);
    return image;
}

IndexedImage PictureGenerator::emptyBlock() {
    return IndexedImage(PictureLayout::CURSOR_WIDTH, PictureLayout::CURSOR_HEIGHT, DARK);
}

IndexedImage PictureGenerator::_iconImage(int size) {
    // A small monitor on a stand showing the blue screen with its cursor,
    // drawn on a 16-unit grid and scaled to the icon size.
    const int unit = size / 16;
    IndexedImage image(size, size, CLEAR);
    const auto box = [&](int left, int top, int width, int height, std::uint8_t index) {
        image.fill(left * unit, top * unit, width * unit, height * unit, index);
    };
    box(0, 1, 16, 12, BEZEL);
    box(1, 2, 14, 10, LIGHT);
    box(2, 3, 12, 8, DARK);
    box(3, 4, 7, 1, LIGHT);
    box(3, 6, 9, 1, LIGHT);
    box(3, 8, 2, 2, LIGHT);
    box(6, 13, 4, 1, SHADE);
    box(4, 14, 8, 1, BEZEL);
    return image;
}

std::string PictureGenerator::icon() {
    const IndexedImage images[] = {_iconImage(32), _iconImage(16)};
    const std::size_t count = sizeof images / sizeof images[0];
    std::string directory;
    BmpWriter::putLittleEndian(directory, 0, 2); // reserved
    BmpWriter::putLittleEndian(directory, 1, 2); // icon
    BmpWriter::putLittleEndian(directory, count, 2);
    std::string data;
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * count);
    for (const IndexedImage& image : images) {
        const std::string entry =
            BmpWriter::iconBitmap(image, palette()) + BmpWriter::mask(image, CLEAR);
        directory.push_back(static_cast<char>(image.width()));
        directory.push_back(static_cast<char>(image.height()));
        directory.push_back(16);                     // colours
        directory.push_back(0);                      // reserved
        BmpWriter::putLittleEndian(directory, 1, 2); // planes
        BmpWriter::putLittleEndian(directory, 4, 2); // bits per pixel
        BmpWriter::putLittleEndian(directory, static_cast<std::uint32_t>(entry.size()), 4);
        BmpWriter::putLittleEndian(directory, offset, 4);
        offset += static_cast<std::uint32_t>(entry.size());
        data += entry;
    }
    return directory + data;
}

} // namespace picturegen
} // namespace tools
