#include "app/MonitorLayout.h"

#include <algorithm>
#include <cstdint>

#include "picture/PictureLayout.h"

namespace app {

using picture::PictureLayout;

bool MonitorLayout::Area::operator==(const Area& other) const {
    return left == other.left && top == other.top && width == other.width && height == other.height;
}

bool MonitorLayout::Cover::operator==(const Cover& other) const {
    return window == other.window && picture == other.picture;
}

MonitorLayout::Area MonitorLayout::pictureIn(int width, int height) {
    int pictureWidth = 0;
    int pictureHeight = 0;
    const int scale = std::min(width / PictureLayout::WIDTH, height / PictureLayout::HEIGHT);
    if (scale >= 1) {
        pictureWidth = PictureLayout::WIDTH * scale;
        pictureHeight = PictureLayout::HEIGHT * scale;
    } else if (static_cast<std::int64_t>(width) * PictureLayout::HEIGHT <=
               static_cast<std::int64_t>(height) * PictureLayout::WIDTH) {
        // Narrower than the picture's shape: the width decides.
        pictureWidth = width;
        pictureHeight = static_cast<int>(static_cast<std::int64_t>(width) * PictureLayout::HEIGHT /
                                         PictureLayout::WIDTH);
    } else {
        pictureHeight = height;
        pictureWidth = static_cast<int>(static_cast<std::int64_t>(height) * PictureLayout::WIDTH /
                                        PictureLayout::HEIGHT);
    }
    return Area{(width - pictureWidth) / 2, (height - pictureHeight) / 2, pictureWidth,
                pictureHeight};
}

std::vector<MonitorLayout::Cover> MonitorLayout::covers(const std::vector<Area>& monitors,
                                                        const Area& covered) {
    std::vector<Cover> result;
    for (const Area& monitor : monitors) {
        const bool listed = std::any_of(result.begin(), result.end(), [&](const Cover& cover) {
            return cover.window == monitor;
        });
        if (monitor == covered || monitor.width <= 0 || monitor.height <= 0 || listed) {
            continue;
        }
        result.push_back(Cover{monitor, pictureIn(monitor.width, monitor.height)});
    }
    return result;
}

} // namespace app
