#include <iterator>
#include <set>
#include <sstream>

#include "exceptions/IllegalArgumentException.h"
#include "fuzz/FuzzCheck.h"
#include "util/parser/FlagParser.h"
#include "windows/screensaver/ScreensaverRouter.h"

namespace {

// `line` parsed with the router's flags: each flag among `tokens` with the
// arguments recorded for it, or the refusal's message.
std::string parsed(const std::string& line, const std::vector<std::string>& tokens) {
    util::parser::FlagParser parser('/');
    windows::screensaver::ScreensaverRouter::declareFlags(parser);
    try {
        parser.parse(line);
    } catch (const exceptions::IllegalArgumentException& e) {
        return "refused: " + e.getMessage();
    }
    std::string recorded;
    for (const std::string& token : tokens) {
        if (token[0] == '/') {
            recorded += "\n" + token;
            for (const std::string& argument : parser.getArguments(token)) {
                recorded += " " + argument;
            }
        }
    }
    return recorded;
}

} // namespace

// Only the tokens count, whatever C-locale white space separates them. An
// accepted line starts with a flag, names each flag once and keeps behind
// each its arguments, at most one, as none of the router's flags takes more.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::istringstream words(line);
    const std::vector<std::string> tokens{std::istream_iterator<std::string>(words), {}};
    std::string respaced = "\f";
    std::string expected;
    std::set<std::string> flags;
    bool wellFormed = tokens.empty() || tokens[0][0] == '/';
    std::size_t arguments = 0;
    for (const std::string& token : tokens) {
        respaced += token + "\r\n\t\v ";
        const bool flag = token[0] == '/';
        arguments = flag ? 0 : arguments + 1;
        wellFormed = wellFormed && arguments <= 1 && (!flag || flags.insert(token).second);
        expected += (flag ? "\n" : " ") + token;
    }
    const std::string result = parsed(line, tokens);
    FUZZ_CHECK(parsed(respaced, tokens) == result);
    FUZZ_CHECK(result.rfind("refused: ", 0) == 0 || (wellFormed && result == expected));
    return 0;
}
