#ifndef PLOVIX_TOOLS_DESKTOPPROBE_MESSAGEBOXREADER_H
#define PLOVIX_TOOLS_DESKTOPPROBE_MESSAGEBOXREADER_H

#include <windows.h>

#include <string>

namespace tools {
namespace desktopprobe {

// Finds a message box of any process by its caption and reads what a user
// sees in it; shared by the run command's probe and the tests that answer
// the saver's boxes.
class MessageBoxReader {
public:
    struct Contents {
        bool found = false;
        std::string text;
        HICON icon = nullptr;
        HWND owner = nullptr;
    };

    MessageBoxReader() = delete;

    // The message box with this caption once it is filled in and shown, or
    // null.
    static HWND find(const std::string& caption);
    static Contents read(HWND box);
};

} // namespace desktopprobe
} // namespace tools

#endif
