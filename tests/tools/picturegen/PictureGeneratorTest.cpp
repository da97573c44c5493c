#include "picturegen/PictureGenerator.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "picturegen/BmpWriter.h"

namespace {

using tools::picturegen::BmpWriter;
using tools::picturegen::IndexedImage;
using tools::picturegen::PictureGenerator;

std::string committed(const std::string& path) {
    std::ifstream in(std::string(PLOVIX_SOURCE_DIR) + "/" + path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A little-endian number of `size` bytes at `at`.
std::uint32_t number(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// The picture a 4-bit run-length-encoded bitmap file holds, read as the
// format says; a 1 x 1 picture of index 15 when it is not that.
IndexedImage decoded(const std::string& file) {
    IndexedImage none(1, 1, 15);
    const auto width = static_cast<int>(number(file, 18, 4));
    const auto height = static_cast<int>(number(file, 22, 4));
    if (file.size() < 118 || number(file, 28, 2) != 4 || number(file, 30, 4) != 2 ||
        number(file, 34, 4) != file.size() - number(file, 10, 4)) {
        return none;
    }
    IndexedImage pixels(width, height, 15);
    std::size_t at = number(file, 10, 4);
    int x = 0;
    int row = 0; // from the bottom
    const auto put = [&](int index) {
        pixels.set(x++, height - 1 - row, static_cast<std::uint8_t>(index));
    };
    while (at + 1 < file.size()) {
        const auto first = static_cast<std::uint8_t>(file[at]);
        const auto second = static_cast<std::uint8_t>(file[at + 1]);
        at += 2;
        if (first > 0) { // an encoded run: the two indices by turns
            for (int i = 0; i < first; ++i) {
                put(i % 2 == 0 ? second >> 4 : second & 0x0F);
            }
        } else if (second == 0) { // end of the row
            x = 0;
            ++row;
        } else if (second == 1) { // end of the bitmap
            return at == file.size() && row == height ? pixels : none;
        } else if (second >= 3) { // an absolute run, padded to 16 bits
            for (int i = 0; i < second; ++i) {
                const auto pair =
                    static_cast<std::uint8_t>(file[at + static_cast<std::size_t>(i / 2)]);
                put(i % 2 == 0 ? pair >> 4 : pair & 0x0F);
            }
            at += static_cast<std::size_t>((second + 3) / 4 * 2);
        } else {
            return none; // a delta: never written
        }
    }
    return none;
}

// The committed pictures are what the generator draws: run-length encoded
// for the saver, whose files decode to exactly the layout's pixels, and
// uncompressed for the Windows test that loads both.
TEST(PictureGeneratorTest, CommittedPicturesDecodeToTheLayoutInBothEncodings) {
    const auto palette = PictureGenerator::palette();
    const struct {
        const char* name = nullptr;
        IndexedImage image;
    } pictures[] = {{"startup.bmp", PictureGenerator::startupScreen()},
                    {"cursor.bmp", PictureGenerator::cursorBlock()},
                    {"nocursor.bmp", PictureGenerator::emptyBlock()}};
    for (const auto& picture : pictures) {
        const std::string compressed = committed(std::string("src/app/resources/") + picture.name);
        EXPECT_EQ(BmpWriter::file(picture.image, palette), compressed) << picture.name;
        EXPECT_EQ(BmpWriter::uncompressedFile(picture.image, palette),
                  BmpWriter::uncompressedFile(decoded(compressed), palette))
            << picture.name;
        EXPECT_EQ(
            BmpWriter::uncompressedFile(picture.image, palette),
            committed(std::string("tests/windows/graphics/resources/uncompressed-") + picture.name))
            << picture.name;
    }
    EXPECT_EQ(PictureGenerator::icon(), committed("src/app/resources/plovix.ico"));
}

} // namespace
