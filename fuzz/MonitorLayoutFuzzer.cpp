#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/MonitorLayout.h"
#include "fuzz/FuzzCheck.h"

using app::MonitorLayout;

namespace {

// Four ints from the input, zero where it runs out: any place and size,
// negative and extreme ones included, as a monitor list from the system may
// hold during a layout change.
MonitorLayout::Area areaAt(const std::uint8_t* data, std::size_t size, std::size_t at) {
    std::int32_t values[4] = {};
    if (at < size) {
        std::memcpy(values, data + at, std::min(sizeof values, size - at));
    }
    return MonitorLayout::Area{values[0], values[1], values[2], values[3]};
}

bool inside(const MonitorLayout::Area& inner, std::int64_t width, std::int64_t height) {
    return inner.left >= 0 && inner.top >= 0 && inner.width >= 0 && inner.height >= 0 &&
           std::int64_t{inner.left} + inner.width <= width &&
           std::int64_t{inner.top} + inner.height <= height;
}

} // namespace

// Input: the run's own window's area, then the monitors' areas, 16 bytes
// each. Each cover is a monitor of the list with room in it, none the run's
// own window or listed twice; each picture lies inside its cover.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    const std::size_t areaSize = 4 * sizeof(std::int32_t);
    const MonitorLayout::Area covered = areaAt(data, size, 0);
    std::vector<MonitorLayout::Area> monitors;
    for (std::size_t at = areaSize; at < size; at += areaSize) {
        monitors.push_back(areaAt(data, size, at));
    }
    const std::vector<MonitorLayout::Cover> covers = MonitorLayout::covers(monitors, covered);
    for (std::size_t i = 0; i < covers.size(); ++i) {
        const MonitorLayout::Area& window = covers[i].window;
        FUZZ_CHECK(std::find(monitors.begin(), monitors.end(), window) != monitors.end());
        FUZZ_CHECK(window != covered && window.width > 0 && window.height > 0);
        FUZZ_CHECK(inside(covers[i].picture, window.width, window.height));
        for (std::size_t j = 0; j < i; ++j) {
            FUZZ_CHECK(covers[j].window != window);
        }
    }
    return 0;
}
