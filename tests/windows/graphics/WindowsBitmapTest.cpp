#include "windows/graphics/WindowsBitmap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "support/Thrown.h"
#include "windows/graphics/WindowsBitmapException.h"
#include "windows/graphics/resources/TestResources.h"

namespace {

using platform::errorresources::SystemErrors;
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

// The last error does not survive the exception's unwinding, so the failing
// load is made once more here, from the same starting point, to learn the
// code it sets. A failed draw is only ever skipped, never shown.
TEST(WindowsBitmapTest, FailuresNameTheCallAndTheSystemsReason) {
    const char* const absent = MAKEINTRESOURCEA(999);
    const std::string missing = support::thrown<WindowsBitmapException>([&] {
        SetLastError(0);
        WindowsBitmap(absent, 0, 0, 0);
    });
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadImageA(GetModuleHandleA(nullptr), absent, IMAGE_BITMAP, 0, 0, 0));
    EXPECT_EQ("Could not load bitmap using 'LoadImage'.\n" +
                  SystemErrors::map(static_cast<int>(GetLastError())),
              missing);

    WindowsBitmap bitmap(QUARTERS, 0, 0, 0);
    const HDC invalid = reinterpret_cast<HDC>(static_cast<std::intptr_t>(0x00ABCDE0));
    EXPECT_EQ(0u, support::thrown<WindowsBitmapException>([&] {
                      bitmap.draw(invalid, 0, 0, 8, 6, 0, 0, SRCCOPY);
                  }).find("Error when bit blitting using 'BitBlt'.\ndestination: 00ABCDE0\n"));
}

} // namespace
