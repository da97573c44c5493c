#include "windows/graphics/WindowsBitmap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/Thrown.h"
#include "windows/graphics/WindowsBitmapException.h"
#include "windows/graphics/resources/TestResources.h"

namespace {

using windows::graphics::WindowsBitmap;
using windows::graphics::WindowsBitmapException;

const char* const QUARTERS = MAKEINTRESOURCEA(TEST_BITMAP_QUARTERS);

TEST(WindowsBitmapTest, LoadsAtTheRequestedOrItsOwnSizeAndReleasesItsDeviceContext) {
    WindowsBitmap scaled(QUARTERS, 800, 600, 0);
    EXPECT_EQ(800, scaled.getWidth());
    EXPECT_EQ(600, scaled.getHeight());
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

} // namespace
