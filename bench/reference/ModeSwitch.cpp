#include "reference/ModeSwitch.h"

#include "picture/PictureLayout.h"

namespace bench {
namespace reference {

ModeSwitch::~ModeSwitch() {
    if (_switched) {
        ChangeDisplaySettingsA(nullptr, 0);
    }
}

LONG ModeSwitch::to800x600() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) == 0) {
        return DISP_CHANGE_FAILED;
    }
    mode.dmPelsWidth = picture::PictureLayout::WIDTH;
    mode.dmPelsHeight = picture::PictureLayout::HEIGHT;
    const LONG result = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
    _switched = result == DISP_CHANGE_SUCCESSFUL;
    return result;
}

} // namespace reference
} // namespace bench
