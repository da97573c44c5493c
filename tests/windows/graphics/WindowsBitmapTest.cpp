#include "windows/graphics/WindowsBitmap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/Thrown.h"
#include "windows/graphics/WindowsBitmapException.h"
#include "windows/graphics/resources/TestResources.h"

namespace {

using windows::graphics::WindowsBitmap;
using windows::graphics::WindowsBitmapException;

const char* const QUARTERS = MAKEINTRESOURCEA(TEST_BITMAP_QUARTERS);

TEST(WindowsBitmapTest, LoadsAtItsOwnSizeAndReleasesItsDeviceContext) {
    HDC memory = nullptr;
    {
        WindowsBitmap own(QUARTERS, 0, 0, 0);
        EXPECT_EQ(8, own.getWidth());
        EXPECT_EQ(6, own.getHeight());
        memory = own.getDeviceContext();
        EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(memory));
    }
    EXPECT_EQ(0u, GetObjectType(memory));

    // A bitmap deleted behind its owner's back cannot be released; the
    // device context still is, and the first failure is the one reported.
    const HBITMAP spare = CreateBitmap(1, 1, 1, 1, nullptr);
    EXPECT_EQ("Error deleting the bitmap object.", support::thrown<WindowsBitmapException>([&] {
                  WindowsBitmap bitmap(QUARTERS, 0, 0, 0);
                  memory = bitmap.getDeviceContext();
                  DeleteObject(SelectObject(memory, spare));
              }));
    EXPECT_EQ(0u, GetObjectType(memory));
    DeleteObject(spare);
}

// The pixels of a bitmap resource loaded as the saver loads its pictures.
std::vector<std::uint32_t> loaded(WORD resource, int width, int height) {
    const HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_BITMAP, width, height, 0));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = GetDC(nullptr);
    const int rows = bitmap == nullptr ? 0
                                       : GetDIBits(screen, bitmap, 0, static_cast<UINT>(height),
                                                   pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return rows == height ? pixels : std::vector<std::uint32_t>();
}

// The saver carries its pictures run-length encoded: at every size it asks
// for (the full screen, the preview, their cursor blocks) they load to the
// pixels of the uncompressed pictures.
TEST(WindowsBitmapTest, CompressedPicturesLoadAsTheUncompressedAtEverySizeTheSaverAsks) {
    const struct {
        WORD compressed;
        WORD uncompressed;
        int width;
        int height;
    } loads[] = {
        {TEST_BITMAP_PICTURE, TEST_BITMAP_PICTURE_UNCOMPRESSED, 800, 600},
        {TEST_BITMAP_PICTURE, TEST_BITMAP_PICTURE_UNCOMPRESSED, 152, 112},
        {TEST_BITMAP_CURSOR_BLOCK, TEST_BITMAP_CURSOR_BLOCK_UNCOMPRESSED, 16, 16},
        {TEST_BITMAP_CURSOR_BLOCK, TEST_BITMAP_CURSOR_BLOCK_UNCOMPRESSED, 3, 3},
        {TEST_BITMAP_EMPTY_BLOCK, TEST_BITMAP_EMPTY_BLOCK_UNCOMPRESSED, 16, 16},
        {TEST_BITMAP_EMPTY_BLOCK, TEST_BITMAP_EMPTY_BLOCK_UNCOMPRESSED, 3, 3},
    };
    for (const auto& load : loads) {
        const std::vector<std::uint32_t> pixels = loaded(load.compressed, load.width, load.height);
        EXPECT_FALSE(pixels.empty()) << load.compressed << " at " << load.width;
        EXPECT_EQ(loaded(load.uncompressed, load.width, load.height), pixels)
            << load.compressed << " at " << load.width;
    }
}

} // namespace
