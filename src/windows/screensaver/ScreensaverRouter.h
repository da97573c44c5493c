#ifndef PLOVIX_WINDOWS_SCREENSAVER_SCREENSAVERROUTER_H
#define PLOVIX_WINDOWS_SCREENSAVER_SCREENSAVERROUTER_H

#include <cstdint>
#include <string>
#include <vector>

#include "util/parser/FlagParser.h"
#include "windows/screensaver/ProcessContext.h"
#include "windows/screensaver/Screensaver.h"

namespace windows {
namespace screensaver {

// Turns the screen-saver command line ("/s", "/c[:hwnd]", "/p hwnd",
// "/l hwnd", or nothing) into one mode and hands it to a Screensaver. All
// parsing happens in the constructor, which throws on a bad command line;
// route only dispatches.
class ScreensaverRouter {
public:
    // An empty `commandLine` means the command line of `context`, which
    // stands for the process and is used only while constructing. A text of
    // its own is kept in the interface; the program always hands in "".
    ScreensaverRouter(Screensaver& screensaver, const std::string& commandLine,
                      const ProcessContext& context);

    ScreensaverRouter(const ScreensaverRouter&) = delete;
    ScreensaverRouter& operator=(const ScreensaverRouter&) = delete;

    void route();

    // atoi's reading of `text`, clamped to the 32-bit range; 2147483648 to
    // 4294967295 are read as the 32-bit values they stand for (window handles
    // printed unsigned). Throws NumberFormatException for an empty text and
    // for any text other than "0" that reads as 0.
    static std::int32_t parseInteger(const std::string& text);

    // Declares the four flags with the argument counts the router accepts.
    static void declareFlags(util::parser::FlagParser& parser);

private:
    void _parse(const std::string& commandLine, const ProcessContext& context);
    static std::string _argumentText(const std::string& source,
                                     const std::vector<std::string>& programPaths);

    // The four flag texts, and what `_defined` holds before a mode is chosen;
    // the router's consistency reports quote these names.
    // NOLINTBEGIN(bugprone-reserved-identifier)
    static constexpr const char* _S_FLAG = "/s";
    static constexpr const char* _C_FLAG = "/c";
    static constexpr const char* _P_FLAG = "/p";
    static constexpr const char* _L_FLAG = "/l";
    static constexpr const char* _UNDEFINED = "Undefined";
    // NOLINTEND(bugprone-reserved-identifier)

    Screensaver& _screensaver;
    util::parser::FlagParser _flags;
    std::string _defined;
    std::int32_t _windowHandle;
};

} // namespace screensaver
} // namespace windows

#endif
