#include "picturegen/PictureGenerator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "picturegen/BmpWriter.h"

namespace {

using tools::picturegen::BmpWriter;
using tools::picturegen::IndexedImage;
using tools::picturegen::PictureGenerator;

std::string committed(const std::string& name) {
    std::ifstream in(std::string(PLOVIX_RESOURCE_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t readLittleEndian(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// The palette index of pixel (x, y), counted from the top, read back from a
// 4-bit .bmp file.
int indexAt(const std::string& file, int x, int y) {
    const std::uint32_t offset = readLittleEndian(file, 10, 4);
    const auto width = static_cast<int>(readLittleEndian(file, 18, 4));
    const auto height = static_cast<int>(readLittleEndian(file, 22, 4));
    const int stride = ((width * 4 + 31) / 32) * 4;
    const std::size_t at = offset + static_cast<std::size_t>((height - 1 - y) * stride + x / 2);
    const auto byte = static_cast<std::uint8_t>(file[at]);
    return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

TEST(PictureGeneratorTest, CommittedFilesAreWhatTheGeneratorDraws) {
    const auto palette = PictureGenerator::palette();
    EXPECT_EQ(BmpWriter::file(PictureGenerator::startupScreen(), palette),
              committed("startup.bmp"));
    EXPECT_EQ(BmpWriter::file(PictureGenerator::cursorBlock(), palette), committed("cursor.bmp"));
    EXPECT_EQ(BmpWriter::file(PictureGenerator::emptyBlock(), palette), committed("nocursor.bmp"));
    EXPECT_EQ(PictureGenerator::icon(), committed("plovix.ico"));
}

TEST(PictureGeneratorTest, FilesAreUncompressedFourBitBottomUpWithTheTwoBlues) {
    const std::string file = committed("startup.bmp");
    ASSERT_GT(file.size(), 200u);
    EXPECT_EQ("BM", file.substr(0, 2));
    EXPECT_EQ(800u, readLittleEndian(file, 18, 4));
    EXPECT_EQ(600u, readLittleEndian(file, 22, 4)); // positive: rows bottom-up
    EXPECT_EQ(4u, readLittleEndian(file, 28, 2));
    EXPECT_EQ(0u, readLittleEndian(file, 30, 4));
    // Palette entries are stored blue, green, red, zero: 0x00RRGGBB as a number.
    EXPECT_EQ(0x3939DEu, readLittleEndian(file, 54, 4));
    EXPECT_EQ(0x9C9CFFu, readLittleEndian(file, 58, 4));
    EXPECT_EQ(file.size(), readLittleEndian(file, 2, 4));
}

TEST(PictureGeneratorTest, TextStaysInsideItsCellsAndTheCursorCellIsEmpty) {
    const std::string file = committed("startup.bmp");
    // Border light, text area dark at its four corners and just outside them.
    EXPECT_EQ(1, indexAt(file, 79, 94));
    EXPECT_EQ(1, indexAt(file, 80, 93));
    EXPECT_EQ(0, indexAt(file, 80, 94));
    EXPECT_EQ(0, indexAt(file, 719, 493));
    EXPECT_EQ(1, indexAt(file, 720, 493));
    EXPECT_EQ(1, indexAt(file, 719, 494));

    const std::set<std::pair<int, int>> textCells = [] {
        std::set<std::pair<int, int>> cells;
        for (int c = 4; c <= 34; ++c)
            cells.insert({1, c});
        for (int c = 1; c <= 38; ++c)
            cells.insert({3, c});
        for (int c = 0; c <= 5; ++c)
            cells.insert({5, c});
        return cells;
    }();
    std::set<std::pair<int, int>> lit;
    for (int y = 94; y < 494; ++y) {
        for (int x = 80; x < 720; ++x) {
            if (indexAt(file, x, y) == 1) {
                lit.insert({(y - 94) / 16, (x - 80) / 16});
            }
        }
    }
    for (const auto& cell : lit) {
        EXPECT_EQ(1u, textCells.count(cell)) << "row " << cell.first << " column " << cell.second;
    }
    // Each line's first and last character is drawn, so the lines have
    // exactly their lengths; the cell under the prompt stays empty.
    for (const auto& ends : {std::make_pair(1, 4), std::make_pair(1, 34), std::make_pair(3, 1),
                             std::make_pair(3, 38), std::make_pair(5, 0), std::make_pair(5, 5)}) {
        EXPECT_EQ(1u, lit.count(ends)) << "row " << ends.first << " column " << ends.second;
    }
    EXPECT_EQ(0u, lit.count({6, 0}));
}

TEST(PictureGeneratorTest, CursorBlocksSitOnADarkLine) {
    const std::string cursor = committed("cursor.bmp");
    const std::string empty = committed("nocursor.bmp");
    EXPECT_EQ(16u, readLittleEndian(cursor, 18, 4));
    EXPECT_EQ(17u, readLittleEndian(cursor, 22, 4));
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(y < 16 ? 1 : 0, indexAt(cursor, x, y)) << x << "," << y;
            EXPECT_EQ(0, indexAt(empty, x, y)) << x << "," << y;
        }
    }
}

} // namespace
