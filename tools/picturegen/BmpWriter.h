#ifndef PLOVIX_TOOLS_PICTUREGEN_BMPWRITER_H
#define PLOVIX_TOOLS_PICTUREGEN_BMPWRITER_H

#include <array>
#include <cstdint>
#include <string>

#include "picturegen/IndexedImage.h"

namespace tools {
namespace picturegen {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

using Palette = std::array<Rgb, 16>;

// Windows bitmap encodings of an IndexedImage: 4 bits per pixel, rows
// bottom-up, 16-entry palette.
class BmpWriter {
public:
    // A whole .bmp file, run-length encoded (BI_RLE4): runs of one colour as
    // encoded runs, stretches without such a run as absolute runs, each row
    // ended and the bitmap closed by their escapes.
    static std::string file(const IndexedImage& image, const Palette& palette);
    // The same picture uncompressed (BI_RGB).
    static std::string uncompressedFile(const IndexedImage& image, const Palette& palette);
    // The info header, palette and pixel rows as an icon entry stores them:
    // the header's height counts the 1-bit mask that the caller appends.
    static std::string iconBitmap(const IndexedImage& image, const Palette& palette);
    // The 1-bit mask of an icon entry, rows bottom-up and padded to 32 bits:
    // pixels of `transparentIndex` are see-through (1 bits), all others drawn.
    static std::string mask(const IndexedImage& image, std::uint8_t transparentIndex);

    static void putLittleEndian(std::string& out, std::uint32_t value, int bytes);

private:
    static std::string _info(const IndexedImage& image, const Palette& palette, int headerHeight,
                             std::uint32_t compression, std::uint32_t imageBytes);
    static std::string _rows(const IndexedImage& image);
    static std::string _runs(const IndexedImage& image);
    static std::string _withFileHeader(const std::string& body);
};

} // namespace picturegen
} // namespace tools

#endif
