#include "picturegen/BmpWriter.h"

#include <cstddef>

namespace tools {
namespace picturegen {

namespace {

const std::uint32_t INFO_HEADER_SIZE = 40;
const std::uint32_t FILE_HEADER_SIZE = 14;
// The two encodings of the pixel rows.
const std::uint32_t BI_RGB = 0;
const std::uint32_t BI_RLE4 = 2;
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

std::string BmpWriter::_info(const IndexedImage& image, const Palette& palette, int headerHeight,
                             std::uint32_t compression, std::uint32_t imageBytes) {
    std::string out;
    putLittleEndian(out, INFO_HEADER_SIZE, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(image.width()), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(headerHeight), 4);
    putLittleEndian(out, 1, 2); // planes
    putLittleEndian(out, 4, 2); // bits per pixel
    putLittleEndian(out, compression, 4);
    putLittleEndian(out, imageBytes, 4);
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
    return out;
}

std::string BmpWriter::_rows(const IndexedImage& image) {
    const std::uint32_t stride = rowBytes(image.width(), 4);
    std::string out;
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

std::string BmpWriter::_runs(const IndexedImage& image) {
    const int width = image.width();
    std::string out;
    const auto put = [&out](int byte) { out.push_back(static_cast<char>(byte)); };
    for (int y = image.height() - 1; y >= 0; --y) {
        // The length of the run of one colour from x, at most 255.
        const auto runAt = [&](int x) {
            int length = 1;
            while (x + length < width && length < 255 &&
                   image.at(x + length, y) == image.at(x, y)) {
                ++length;
            }
            return length;
        };
        for (int x = 0; x < width;) {
            const int run = runAt(x);
            if (run >= 3) {
                put(run);
                put(image.at(x, y) << 4 | image.at(x, y));
                x += run;
                continue;
            }
            // Up to the next run of three: one or two pixels as an encoded
            // run, more as an absolute run, padded to a 16-bit boundary.
            int end = x + 1;
            while (end < width && end - x < 255 && runAt(end) < 3) {
                ++end;
            }
            const int count = end - x;
            if (count < 3) {
                put(count);
                put(image.at(x, y) << 4 | (count == 2 ? image.at(x + 1, y) : 0));
            } else {
                put(0);
                put(count);
                for (int i = 0; i < count; i += 2) {
                    put(image.at(x + i, y) << 4 | (i + 1 < count ? image.at(x + i + 1, y) : 0));
                }
                if ((count + 1) / 2 % 2 != 0) {
                    put(0);
                }
            }
            x = end;
        }
        put(0); // end of the row
        put(0);
    }
    put(0); // end of the bitmap
    put(1);
    return out;
}

std::string BmpWriter::_withFileHeader(const std::string& body) {
    std::string out = "BM";
    putLittleEndian(out, FILE_HEADER_SIZE + static_cast<std::uint32_t>(body.size()), 4);
    putLittleEndian(out, 0, 4); // reserved
    putLittleEndian(out, FILE_HEADER_SIZE + INFO_HEADER_SIZE + 16 * 4, 4);
    return out + body;
}

std::string BmpWriter::file(const IndexedImage& image, const Palette& palette) {
    const std::string runs = _runs(image);
    return _withFileHeader(
        _info(image, palette, image.height(), BI_RLE4, static_cast<std::uint32_t>(runs.size())) +
        runs);
}

std::string BmpWriter::uncompressedFile(const IndexedImage& image, const Palette& palette) {
    const std::string rows = _rows(image);
    return _withFileHeader(
        _info(image, palette, image.height(), BI_RGB, static_cast<std::uint32_t>(rows.size())) +
        rows);
}

std::string BmpWriter::iconBitmap(const IndexedImage& image, const Palette& palette) {
    const std::uint32_t maskBytes =
        rowBytes(image.width(), 1) * static_cast<std::uint32_t>(image.height());
    const std::string rows = _rows(image);
    return _info(image, palette, image.height() * 2, BI_RGB,
                 static_cast<std::uint32_t>(rows.size()) + maskBytes) +
           rows;
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
