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
using tools::picturegen::PictureGenerator;

std::string committed(const std::string& name) {
    std::ifstream in(std::string(PLOVIX_RESOURCE_DIR) + "/" + name, std::ios::binary);
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

// Where the picture's text and cursor lie is pinned by the comparison and by
// the Windows tests that read the painted screen; the format is what the
// saver's loading and colours rely on.
TEST(PictureGeneratorTest, CommittedFilesAreWhatTheGeneratorDrawsInTheRequiredFormat) {
    const auto palette = PictureGenerator::palette();
    EXPECT_EQ(BmpWriter::file(PictureGenerator::startupScreen(), palette),
              committed("startup.bmp"));
    EXPECT_EQ(BmpWriter::file(PictureGenerator::cursorBlock(), palette), committed("cursor.bmp"));
    EXPECT_EQ(BmpWriter::file(PictureGenerator::emptyBlock(), palette), committed("nocursor.bmp"));
    EXPECT_EQ(PictureGenerator::icon(), committed("plovix.ico"));

    const std::string file = committed("startup.bmp");
    ASSERT_GT(file.size(), 200u);
    EXPECT_EQ(800u, number(file, 18, 4));
    EXPECT_EQ(600u, number(file, 22, 4)); // positive height: rows bottom-up
    EXPECT_EQ(4u, number(file, 28, 2));   // bits per pixel
    EXPECT_EQ(0u, number(file, 30, 4));   // uncompressed
    // Palette entries are stored blue, green, red, zero: 0x00RRGGBB as a number.
    EXPECT_EQ(0x3939DEu, number(file, 54, 4));
    EXPECT_EQ(0x9C9CFFu, number(file, 58, 4));
}

} // namespace
