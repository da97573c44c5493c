#include "app/MonitorLayout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace app {

void PrintTo(const MonitorLayout::Area& area, std::ostream* out) {
    *out << "(" << area.left << "," << area.top << " " << area.width << "x" << area.height << ")";
}

void PrintTo(const MonitorLayout::Cover& cover, std::ostream* out) {
    *out << "window ";
    PrintTo(cover.window, out);
    *out << " picture ";
    PrintTo(cover.picture, out);
}

} // namespace app

namespace {

using Area = app::MonitorLayout::Area;
using Cover = app::MonitorLayout::Cover;

// The picture on monitors of every kind: the largest whole multiple of
// 800x600 that fits, centred; smaller monitors get it shrunk to fit, its
// shape kept; portrait monitors are fitted by their width.
TEST(MonitorLayoutTest, PictureTakesTheLargestCrispSizeThatFitsCentred) {
    const struct {
        int width, height;
        Area picture;
    } cases[] = {
        {800, 600, {0, 0, 800, 600}},         {1024, 768, {112, 84, 800, 600}},
        {1920, 1080, {560, 240, 800, 600}},   {1600, 1200, {0, 0, 1600, 1200}},
        {2560, 1440, {480, 120, 1600, 1200}}, {3840, 2160, {720, 180, 2400, 1800}},
        {1080, 1920, {140, 660, 800, 600}},   {640, 480, {0, 0, 640, 480}},
        {600, 800, {0, 175, 600, 450}},       {1024, 500, {179, 0, 666, 500}},
        {799, 10000, {0, 4700, 799, 599}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.picture, app::MonitorLayout::pictureIn(c.width, c.height))
            << c.width << "x" << c.height;
    }
}

// Every monitor but the one the run's window covers gets a window of its
// own, wherever it lies: left of or above the primary (negative
// coordinates) too. A monitor listed twice or without area gets none more.
TEST(MonitorLayoutTest, EveryOtherMonitorIsCoveredWhereverItLies) {
    const Area primary{0, 0, 800, 600};
    const std::vector<Area> monitors = {
        {-1920, -200, 1920, 1080}, primary,           {800, 0, 1024, 768}, {0, 600, 600, 800},
        {800, 0, 1024, 768},       {3000, 0, 0, 768},
    };
    const std::vector<Cover> expected = {
        {{-1920, -200, 1920, 1080}, {560, 240, 800, 600}},
        {{800, 0, 1024, 768}, {112, 84, 800, 600}},
        {{0, 600, 600, 800}, {0, 175, 600, 450}},
    };
    EXPECT_EQ(expected, app::MonitorLayout::covers(monitors, primary));
    EXPECT_TRUE(app::MonitorLayout::covers({primary}, primary).empty());
    // A primary monitor the run's window no longer matches is covered too.
    const std::vector<Cover> whole = {{{0, 0, 1024, 768}, {112, 84, 800, 600}}};
    EXPECT_EQ(whole, app::MonitorLayout::covers({{0, 0, 1024, 768}}, primary));
}

} // namespace
