#ifndef PLOVIX_TOOLS_DESKTOPPROBE_WIZARDREADER_H
#define PLOVIX_TOOLS_DESKTOPPROBE_WIZARDREADER_H

#include <windows.h>

#include <string>
#include <vector>

namespace tools {
namespace desktopprobe {

// Finds a wizard of another process (a dialog window, such as the installer
// and its uninstaller) by its title, reads its controls as a user sees them
// and presses its buttons, so that the installer test clicks through it as a
// person does. Texts are compared and returned as UTF-8, without the "&"
// that marks a control's access key.
class WizardReader {
public:
    struct Control {
        std::string className;
        int id = 0;
        bool visible = false;
        bool enabled = false;
        // "checked" or "unchecked" for check boxes and radio buttons, the
        // number of items for a tree (as "items=N"), "-" otherwise.
        std::string state;
        std::string text;
    };

    WizardReader() = delete;

    // The shown dialog window whose title begins with this one (a wizard
    // adds its page's name), or null.
    static HWND find(const std::string& title);
    // Every control of the wizard and of its current page.
    static std::vector<Control> controls(HWND wizard);
    // Waits up to `milliseconds` for the wizard to show a control with this
    // text (a page is known by one); null when it did not.
    static HWND awaitText(const std::string& title, const std::string& text, DWORD milliseconds);
    // Waits up to `milliseconds` for an enabled button with this text, shown
    // or not, and posts it a click: a sent one would wait on the other
    // process. False when no such button came or the post failed.
    static bool press(const std::string& title, const std::string& text, DWORD milliseconds);
};

} // namespace desktopprobe
} // namespace tools

#endif
