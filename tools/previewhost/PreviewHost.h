#ifndef PLOVIX_TOOLS_PREVIEWHOST_PREVIEWHOST_H
#define PLOVIX_TOOLS_PREVIEWHOST_PREVIEWHOST_H

#include <windows.h>

#include <string>

#include "picture/PictureLayout.h"
#include "windows/window/WindowXImpl.h"

namespace tools {
namespace previewhost {

// Plays the Screen Saver Settings dialog: a small frame window holding a
// borderless 152 x 112 preview area, whose handle it hands to the saver as
// "/p <handle>" (or "/l"). Closing the frame, or the time running out,
// destroys the area, which ends the preview. Each window owns its class.
class PreviewHost {
public:
    static const int WIDTH = picture::PictureLayout::PREVIEW_WIDTH;
    static const int HEIGHT = picture::PictureLayout::PREVIEW_HEIGHT;

    // Throws the window toolkit's exceptions when a class or window cannot
    // be made; what was made so far is released.
    explicit PreviewHost(HINSTANCE instance);

    PreviewHost(const PreviewHost&) = delete;
    PreviewHost& operator=(const PreviewHost&) = delete;

    // Runs `saver`, its path as it goes into the command line (quoted, or
    // as the user's setting holds it), in the preview area until the frame
    // is closed or `seconds` (if above 0) have passed; `program` is the file
    // it names. Returns the saver's exit code, or -1 when it could not be
    // started or did not end.
    int run(const std::string& saver, const std::string& program, const std::string& flag,
            int seconds);
    // Runs this build's screen saver code in this process instead: Wine does
    // not show what one process paints into a child of another process's
    // window, so this is how the preview can be seen there. Returns 0.
    int runInProcess(int seconds);

    HWND frame() { return _frame.getHandle(); }
    HWND area() { return _area.getHandle(); }

private:
    void _endAfter(int seconds);
    static LRESULT CALLBACK _frameProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

    // The area goes first, then the frame that holds it.
    windows::window::WindowXImpl _frame;
    windows::window::WindowXImpl _area;
};

} // namespace previewhost
} // namespace tools

#endif
