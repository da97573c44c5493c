#ifndef PLOVIX_TOOLS_PICTUREGEN_FONT_H
#define PLOVIX_TOOLS_PICTUREGEN_FONT_H

#include <array>
#include <string>

namespace tools {
namespace picturegen {

// The Plovix character set: 8 x 8 glyphs with thin strokes and rounded
// capitals, drawn for this project. Holds the characters its texts use.
class Font {
public:
    using Glyph = std::array<std::string, 8>; // rows top to bottom, '#' lit

    // Throws std::invalid_argument for a character the set lacks.
    static const Glyph& glyph(char c);
    static bool has(char c);
};

} // namespace picturegen
} // namespace tools

#endif
