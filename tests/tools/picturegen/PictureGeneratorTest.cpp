#include "picturegen/PictureGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "picturegen/BmpWriter.h"

namespace {

using tools::picturegen::BmpWriter;
using tools::picturegen::PictureGenerator;

std::string committed(const std::string& name) {
    std::ifstream in(std::string(PLOVIX_RESOURCE_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t number(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// The palette index of pixel (x, y), counted from the top, read from a 4-bit
// bottom-up .bmp file as Windows reads it.
int indexAt(const std::string& file, int x, int y) {
    const auto width = static_cast<int>(number(file, 18, 4));
    const auto height = static_cast<int>(number(file, 22, 4));
    const int stride = ((width * 4 + 31) / 32) * 4;
    const auto byte = static_cast<std::uint8_t>(
        file[number(file, 10, 4) + static_cast<std::size_t>((height - 1 - y) * stride + x / 2)]);
    return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

TEST(PictureGeneratorTest, CommittedFilesAreWhatTheGeneratorDrawsInTheRequiredFormat) {
    const auto palette = PictureGenerator::palette();
    EXPECT_EQ(BmpWriter::file(PictureGenerator::startupScreen(), palette),
              committed("startup.bmp"));
    EXPECT_EQ(BmpWriter::file(PictureGenerator::cursorBlock(), palette), committed("cursor.bmp"));
    EXPECT_EQ(BmpWriter::file(PictureGenerator::emptyBlock(), palette), committed("nocursor.bmp"));
    EXPECT_EQ(PictureGenerator::icon(), committed("plovix.ico"));

    const std::string file = committed("startup.bmp");
    ASSERT_GT(file.size(), 200u);
    EXPECT_EQ(600u, number(file, 22, 4)); // positive height: rows bottom-up
    EXPECT_EQ(4u, number(file, 28, 2));   // bits per pixel
    EXPECT_EQ(0u, number(file, 30, 4));   // uncompressed
    // Palette entries are stored blue, green, red, zero: 0x00RRGGBB as a number.
    EXPECT_EQ(0x3939DEu, number(file, 54, 4));
    EXPECT_EQ(0x9C9CFFu, number(file, 58, 4));
}

TEST(PictureGeneratorTest, TextStaysInItsCellsAndTheCursorCellIsEmpty) {
    const std::string file = committed("startup.bmp");
    // Light border, dark 640x400 text area from (80,94) to (719,493).
    EXPECT_EQ(1, indexAt(file, 79, 94));
    EXPECT_EQ(1, indexAt(file, 80, 93));
    EXPECT_EQ(0, indexAt(file, 80, 94));
    EXPECT_EQ(0, indexAt(file, 719, 493));
    EXPECT_EQ(1, indexAt(file, 720, 493));
    EXPECT_EQ(1, indexAt(file, 719, 494));

    std::set<std::pair<int, int>> lit; // (row, column) of every cell with text pixels
    for (int y = 94; y < 494; ++y) {
        for (int x = 80; x < 720; ++x) {
            if (indexAt(file, x, y) == 1) {
                lit.insert({(y - 94) / 16, (x - 80) / 16});
            }
        }
    }
    const std::pair<int, int> rows[] = {{1, 4}, {3, 1}, {5, 0}}; // row, first column
    const int lasts[] = {34, 38, 5};
    for (const auto& cell : lit) {
        const auto row = std::find_if(std::begin(rows), std::end(rows),
                                      [&](const auto& r) { return r.first == cell.first; });
        ASSERT_NE(std::end(rows), row) << "text on row " << cell.first;
        EXPECT_GE(cell.second, row->second);
        EXPECT_LE(cell.second, lasts[row - std::begin(rows)]);
    }
    for (int i = 0; i < 3; ++i) { // first and last characters drawn: lines of exact length
        EXPECT_EQ(1u, lit.count(rows[i]));
        EXPECT_EQ(1u, lit.count({rows[i].first, lasts[i]}));
    }
    EXPECT_EQ(0u, lit.count({6, 0}));
}

TEST(PictureGeneratorTest, CursorBlocksSitOnADarkLine) {
    const std::string cursor = committed("cursor.bmp");
    const std::string empty = committed("nocursor.bmp");
    ASSERT_EQ(17u, number(cursor, 22, 4));
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(y < 16 ? 1 : 0, indexAt(cursor, x, y)) << x << "," << y;
            EXPECT_EQ(0, indexAt(empty, x, y)) << x << "," << y;
        }
    }
}

} // namespace
