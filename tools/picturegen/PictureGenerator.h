#ifndef PLOVIX_TOOLS_PICTUREGEN_PICTUREGENERATOR_H
#define PLOVIX_TOOLS_PICTUREGEN_PICTUREGENERATOR_H

#include <cstdint>
#include <string>

#include "picturegen/BmpWriter.h"
#include "picturegen/IndexedImage.h"

namespace tools {
namespace picturegen {

// Draws the screen saver's pictures: the Plovix start-up screen, the two
// cursor blocks and the program icon, in the two blues of the screen, as
// picture::PictureLayout lays them out.
class PictureGenerator {
public:
    static const std::uint8_t DARK = 0;  // the text area
    static const std::uint8_t LIGHT = 1; // the border and the text

    // What the screen says, and where: row, first column, text.
    struct Line {
        int row;
        int column;
        const char* text;
    };
    static const Line LINES[3];

    static Palette palette();
    static IndexedImage startupScreen();
    static IndexedImage cursorBlock();
    static IndexedImage emptyBlock();
    // A .ico file with 32 x 32 and 16 x 16 images.
    static std::string icon();

private:
    static IndexedImage _iconImage(int size);
};

} // namespace picturegen
} // namespace tools

#endif
