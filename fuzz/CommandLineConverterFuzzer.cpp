#include "fuzz/FuzzCheck.h"
#include "util/parser/CommandLineConverter.h"
#include "util/parser/CommandLineConverterException.h"

using util::parser::CommandLineConverter;

// A line converts exactly when its quotes pair up, into the tokens a walk
// through it collects: a blank outside quotes ends a token, a quote toggles
// and goes. The tokens, each quoted and joined by blanks, split into
// themselves again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    // A command line ends at its first zero byte.
    const std::string line = fuzz::split(data, size, 2)[0];
    std::vector<std::string> walked;
    bool quoted = false;
    bool between = true;
    for (const char c : line) {
        const bool separates = c == ' ' && !quoted;
        if (between && !separates) {
            walked.emplace_back();
        }
        between = separates;
        quoted = quoted != (c == '"');
        if (!separates && c != '"') {
            walked.back() += c;
        }
    }
    try {
        const CommandLineConverter converter(line);
        const char* const* argv = converter.getArgv();
        const std::vector<std::string> tokens(argv, argv + converter.getArgc());
        FUZZ_CHECK(!quoted && tokens == walked && argv[tokens.size()] == nullptr);
        std::string joined;
        for (const std::string& token : tokens) {
            joined += "\"" + token + "\" ";
        }
        FUZZ_CHECK(CommandLineConverter::tokenize(joined) == tokens);
    } catch (const util::parser::CommandLineConverterException&) {
        FUZZ_CHECK(quoted);
    }
    return 0;
}
