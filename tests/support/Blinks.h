#ifndef PLOVIX_TESTS_SUPPORT_BLINKS_H
#define PLOVIX_TESTS_SUPPORT_BLINKS_H

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <vector>

#include "desktopprobe/ScreenReader.h"
#include "support/Waiting.h"
#include "windows/graphics/PictureColours.h"

namespace support {

// The moments the screen's pixel at (x, y) turned from one of the picture's
// blues to the other: the first `count`, or as many as 10 s show.
inline std::vector<std::chrono::steady_clock::time_point> blinks(int x, int y, std::size_t count) {
    using windows::graphics::PictureColours;
    const tools::desktopprobe::ScreenReader screen;
    std::vector<std::chrono::steady_clock::time_point> seen;
    COLORREF last = screen.pixel(x, y);
    waitUntil([&] {
        const COLORREF now = screen.pixel(x, y);
        if ((last == PictureColours::LIGHT && now == PictureColours::DARK) ||
            (last == PictureColours::DARK && now == PictureColours::LIGHT)) {
            seen.push_back(std::chrono::steady_clock::now());
        }
        last = now;
        return seen.size() == count;
    });
    return seen;
}

} // namespace support

#endif
