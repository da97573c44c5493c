#include "picturegen/BmpWriter.h"

#include <cstddef>

namespace tools {
namespace picturegen {

namespace {

const std::uint32_t INFO_HEADER_SIZE = 40;
const std::uint32_t FILE_HEADER_SIZE = 14;
// 72 dots per inch, in dots per metre.
const std::uint32_t DOTS_PER_METRE = 2835;

std::uint32_t rowBytes(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) + 31) /
            32) *
           4;
}

} // namespace

void BmpWriter::putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::string BmpWriter::_infoAndPixels(const IndexedImage& image, const Palette& palette,
                                      int headerHeight, std::uint32_t extraImageBytes) {
    const std::uint32_t stride = rowBytes(image.width(), 4);
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height());
    std::string out;
    putLittleEndian(out, INFO_HEADER_SIZE, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(image.width()), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(headerHeight), 4);
    putLittleEndian(out, 1, 2); // planes
    putLittleEndian(out, 4, 2); // bits per pixel
    putLittleEndian(out, 0, 4); // BI_RGB, uncompressed
    putLittleEndian(out, pixelBytes + extraImageBytes, 4);
    putLittleEndian(out, DOTS_PER_METRE, 4);
    putLittleEndian(out, DOTS_PER_METRE, 4);
    putLittleEndian(out, 16, 4); // colours used
    putLittleEndian(out, 0, 4);  // all colours important
    for (const Rgb& colour : palette) {
        out.push_back(static_cast<char>(colour.blue));
        out.push_back(static_cast<char>(colour.green));
        out.push_back(static_cast<char>(colour.red));
        out.push_back('\0');
    }
    for (int y = image.height() - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < image.width(); ++x) {
            const int shift = x % 2 == 0 ? 4 : 0;
            row[static_cast<std::size_t>(x / 2)] =
                static_cast<char>(static_cast<std::uint8_t>(row[static_cast<std::size_t>(x / 2)]) |
                                  ((image.at(x, y) & 0x0F) << shift));
        }
        out += row;
    }
    return out;
}

std::string BmpWriter::file(const IndexedImage& image, const Palette& palette) {
    const std::string body = _infoAndPixels(image, palette, image.height(), 0);
    std::string out = "BM";
    putLittleEndian(out, FILE_HEADER_SIZE + static_cast<std::uint32_t>(body.size()), 4);
    putLittleEndian(out, 0, 4); // reserved
    putLittleEndian(out, FILE_HEADER_SIZE + INFO_HEADER_SIZE + 16 * 4, 4);
    return out + body;
}

std::string BmpWriter::iconBitmap(const IndexedImage& image, const Palette& palette) {
    const std::uint32_t maskBytes =
        rowBytes(image.width(), 1) * static_cast<std::uint32_t>(image.height());
    return _infoAndPixels(image, palette, image.height() * 2, maskBytes);
}

std::string BmpWriter::mask(const IndexedImage& image, std::uint8_t transparentIndex) {
    const std::uint32_t stride = rowBytes(image.width(), 1);
    std::string out;
    for (int y = image.height() - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < image.width(); ++x) {
            if (image.at(x, y) == transparentIndex) {
                row[static_cast<std::size_t>(x / 8)] = static_cast<char>(
                    static_cast<std::uint8_t>(row[static_cast<std::size_t>(x / 8)]) |
                    (0x80 >> (x % 8)));
            }
        }
        out += row;
    }
    return out;
}

} // namespace picturegen
} // namespace tools
