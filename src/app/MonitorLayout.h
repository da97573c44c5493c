#ifndef PLOVIX_APP_MONITORLAYOUT_H
#define PLOVIX_APP_MONITORLAYOUT_H

#include <vector>

namespace app {

// Where a full-screen run puts its windows and pictures on a desktop of
// several monitors. The run's own window covers the switched primary
// monitor; every other monitor gets a window of its own that shows the
// picture at the largest whole multiple of its size that fits, so that it
// stays crisp, centred on black. A monitor too small for one picture gets
// it scaled down to fit, its shape kept.
class MonitorLayout {
public:
    // A rectangle in desktop coordinates, or inside a window.
    struct Area {
        int left;
        int top;
        int width;
        int height;

        bool operator==(const Area& other) const;
        bool operator!=(const Area& other) const { return !(*this == other); }
    };

    // One monitor's window, and where its picture lies inside it.
    struct Cover {
        Area window;
        Area picture;

        bool operator==(const Cover& other) const;
    };

    // The picture's place inside a window of the given size.
    static Area pictureIn(int width, int height);

    // A cover for each monitor that `covered` (the run's own window) is not
    // exactly, in the order given. Empty monitors and a monitor listed twice
    // get none (or only one).
    static std::vector<Cover> covers(const std::vector<Area>& monitors, const Area& covered);
};

} // namespace app

#endif
