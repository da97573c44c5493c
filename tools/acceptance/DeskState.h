#ifndef PLOVIX_TOOLS_ACCEPTANCE_DESKSTATE_H
#define PLOVIX_TOOLS_ACCEPTANCE_DESKSTATE_H

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tools {
namespace acceptance {

// What a run of the kit must leave as it found it: each monitor's display
// mode, the pointer's place and the user's screen saver settings. Read
// before the run; after it, compared with the desk as it is then, and put
// back where it differs.
class DeskState {
public:
    // One part of the desk, compared and put back as a whole.
    enum class Part { DISPLAY_MODES, POINTER, SAVER_SETTINGS };

    // Reads the desk as it is now.
    DeskState();

    // What differs in `part` between this state and `now`, one phrase a
    // difference; empty when nothing does.
    std::vector<std::string> differences(const DeskState& now, Part part) const;
    // Sets `part` of the desk back to this state; each failed call is
    // described, naming the call, with the system's reason.
    std::vector<std::string> restore(Part part) const;

private:
    struct Display {
        std::string device;
        DEVMODEA mode;
    };
    struct SaverSettings {
        bool known = false; // false where the system would not tell them
        BOOL active = FALSE;
        UINT timeout = 0;
        BOOL secure = FALSE;
        std::optional<std::string> program; // SCRNSAVE.EXE, when set
    };

    static std::string _describe(const DEVMODEA& mode);
    const Display* _find(const std::string& device) const;

    std::vector<Display> _displays;
    POINT _pointer = {};
    bool _pointerKnown = false; // not while another desktop is shown
    SaverSettings _saver;
};

} // namespace acceptance
} // namespace tools

#endif
