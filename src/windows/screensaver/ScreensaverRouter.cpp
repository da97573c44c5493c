#include "windows/screensaver/ScreensaverRouter.h"

#include <limits>

#include "exceptions/NumberFormatException.h"
#include "util/Assertion.h"
#include "util/StringHelper.h"
#include "util/parser/CommandLineConverter.h"
#include "windows/screensaver/WindowHandle.h"

namespace windows {
namespace screensaver {

using exceptions::NumberFormatException;
using std::string;
using util::StringHelper;
using util::parser::CommandLineConverter;

namespace {

// Window handles are 32-bit values, sign-extended on 64-bit Windows.
std::int32_t handleToInteger(HWND handle) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(handle));
}

HWND integerToHandle(std::int32_t value) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(value));
}

// The length of the longest of `paths` that `source` starts with, ignoring
// case, followed by a blank or the end of the line; 0 if none.
string::size_type programPathLength(const string& source, const std::vector<string>& paths) {
    const string folded = StringHelper::toLowerCase(source);
    string::size_type longest = 0;
    for (const string& path : paths) {
        // A program started by a relative name has a path longer than its
        // whole command line.
        const string::size_type length = path.size();
        if (length <= longest || length > folded.size()) {
            continue;
        }
        const bool ends =
            length == folded.size() || folded[length] == ' ' || folded[length] == '\t';
        if (ends && folded.compare(0, length, StringHelper::toLowerCase(path)) == 0) {
            longest = length;
        }
    }
    return longest;
}

} // namespace

string ScreensaverRouter::_argumentText(const string& source,
                                        const std::vector<string>& programPaths) {
    // The program path comes first. A quoted one (Windows quotes paths with
    // blanks) ends at its closing quote, or with the line if there is none, as
    // Windows splits arguments. Some callers leave a path with blanks
    // unquoted: the program's own path is recognised whole. Any other
    // unquoted one ends at the first blank.
    string arguments;
    const string::size_type programPath = programPathLength(source, programPaths);
    if (!source.empty() && source[0] == '"') {
        const string::size_type closing = source.find('"', 1);
        if (closing != string::npos) {
            arguments = source.substr(closing + 1);
        }
    } else if (programPath > 0) {
        arguments = source.substr(programPath);
    } else {
        const string::size_type blank = source.find(' ');
        if (blank != string::npos) {
            arguments = source.substr(blank);
        }
    }
    // "/c:1234" is the same as "/c 1234"; only a lower-case "/c:" is split.
    const string::size_type colon = arguments.find("/c:");
    if (colon != string::npos) {
        arguments[colon + 2] = ' ';
    }
    return StringHelper::toLowerCase(arguments);
}

ScreensaverRouter::ScreensaverRouter(Screensaver& screensaver, const string& commandLine,
                                     const ProcessContext& context)
    : _screensaver(screensaver)
    , _flags('/')
    , _defined(_UNDEFINED)
    , _windowHandle(0) {
    _parse(commandLine, context);
}

void ScreensaverRouter::_parse(const string& commandLine, const ProcessContext& context) {
    // Built on the process command line even when a text was handed in, so an
    // unmatched quote there always fails.
    const CommandLineConverter converter(context.getCommandLine());
    const string& source = commandLine.empty() ? converter.getCommandLine() : commandLine;

    declareFlags(_flags);
    _flags.parse(_argumentText(source, context.getProgramPaths()));

    // "/s" wins over the previews, and they win over "/c"; no flag at all is
    // a full-screen run too, kept apart as the rule that it is.
    if (_flags.isFlagSet(_S_FLAG)) { // NOLINT(bugprone-branch-clone)
        _defined = _S_FLAG;
        _windowHandle = 0;
    } else if (_flags.isFlagSet(_P_FLAG)) {
        _defined = _P_FLAG;
        _windowHandle = parseInteger(_flags.getArguments(_P_FLAG)[0]);
    } else if (_flags.isFlagSet(_L_FLAG)) {
        _defined = _L_FLAG;
        _windowHandle = parseInteger(_flags.getArguments(_L_FLAG)[0]);
    } else if (_flags.isFlagSet(_C_FLAG)) {
        _defined = _C_FLAG;
        const std::vector<string>& arguments = _flags.getArguments(_C_FLAG);
        if (arguments.empty()) {
            _windowHandle = handleToInteger(context.getForegroundWindow());
        } else if (arguments.size() == 1) {
            _windowHandle = parseInteger(arguments[0]);
        } else {
            PLOVIX_CHECK(false);
        }
    } else {
        // No flag at all means a full-screen run.
        _defined = _S_FLAG;
        _windowHandle = 0;
    }
}

// Exactly one operation of the screen saver is called, and it returns when
// its mode has ended.
void ScreensaverRouter::route() {
    PLOVIX_CHECK(_defined != _UNDEFINED);
    if (_defined == _S_FLAG) {
        _screensaver.runScreensaver();
        return;
    }
    // "/l" is an older spelling of "/p".
    if (_defined == _P_FLAG || _defined == _L_FLAG) {
        _screensaver.runPreview(integerToHandle(_windowHandle));
        return;
    }
    if (_defined == _C_FLAG) {
        // The handle is the settings dialog's window ("/c" alone: the one in
        // front when it asked); the notice box does not take it as owner.
        _screensaver.configure(integerToHandle(_windowHandle));
        return;
    }
    // The constructor always leaves one of the four modes in _defined, so
    // this is never reached.
    PLOVIX_CHECK(false);
}

namespace {

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi, with the overflow the C standard leaves undefined clamped to the
// limits as the Windows C library does, so every build reads the same value.
// A window handle is a 32-bit value that callers print signed or unsigned,
// so a number from 2^31 to 2^32 - 1 is the handle its negative twin names.
std::int32_t clampedAtoi(const string& text) {
    const std::int64_t upper = std::numeric_limits<std::int32_t>::max();
    const std::int64_t lower = std::numeric_limits<std::int32_t>::min();
    const std::int64_t handleTop = std::numeric_limits<std::uint32_t>::max();
    string::size_type i = 0;
    while (i < text.size() && isCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        // Past the limit the value stays pinned there.
        if (magnitude <= handleTop + 1) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > handleTop) {
        return static_cast<std::int32_t>(upper);
    }
    if (value > upper) {
        return static_cast<std::int32_t>(value - (handleTop + 1));
    }
    if (value < lower) {
        return static_cast<std::int32_t>(lower);
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

void ScreensaverRouter::declareFlags(util::parser::FlagParser& parser) {
    parser.addFlag(_S_FLAG, 0, 0, true);
    parser.addFlag(_C_FLAG, 0, 1, true);
    parser.addFlag(_P_FLAG, 1, 1, true);
    parser.addFlag(_L_FLAG, 1, 1, true);
}

std::int32_t ScreensaverRouter::parseInteger(const string& text) {
    if (text.empty()) {
        throw NumberFormatException("The empty string cannot be parsed into an integer");
    }
    if (text == "0") {
        return 0;
    }
    const std::int32_t value = clampedAtoi(text);
    if (value == 0) {
        throw NumberFormatException("Error parsing the string [" + text + "] to an integer");
    }
    return value;
}

} // namespace screensaver
} // namespace windows
