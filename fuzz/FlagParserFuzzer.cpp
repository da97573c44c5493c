#include <set>
#include <sstream>

#include "exceptions/IllegalArgumentException.h"
#include "fuzz/FuzzCheck.h"
#include "util/parser/FlagParser.h"
#include "windows/screensaver/ScreensaverRouter.h"

// With the router's flags, a line is refused or it is read as its C-locale
// white space splits it: a flag first, each flag once, and behind each flag
// its arguments, at most one, as none of the router's flags takes more.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    const std::string line(reinterpret_cast<const char*>(data), size);
    util::parser::FlagParser parser('/');
    windows::screensaver::ScreensaverRouter::declareFlags(parser);
    try {
        parser.parse(line);
    } catch (const exceptions::IllegalArgumentException&) {
        return 0;
    }
    std::istringstream words(line);
    std::set<std::string> flags;
    std::string expected;
    std::string recorded;
    std::size_t arguments = 0;
    for (std::string token; words >> token;) {
        const bool flag = token[0] == '/';
        arguments = flag ? 0 : arguments + 1;
        FUZZ_CHECK(flag ? flags.insert(token).second : !flags.empty() && arguments <= 1);
        expected += (flag ? "\n" : " ") + token;
        if (flag) {
            recorded += "\n" + token;
            for (const std::string& argument : parser.getArguments(token)) {
                recorded += " " + argument;
            }
        }
    }
    FUZZ_CHECK(recorded == expected);
    return 0;
}
