#include "util/parser/CommandLineConverter.h"

#include <cstddef>
#include <memory>

#include "util/Assertion.h"
#include "util/StringHelper.h"
#include "util/memory/Memory.h"
#include "util/parser/CommandLineConverterException.h"

namespace util {
namespace parser {

using std::string;
using util::memory::Memory;

CommandLineConverter::CommandLineConverter(const std::string& commandLine)
    : _argc(0)
    , _argv(nullptr)
    , _commandLine(commandLine) {
    const std::vector<string> tokens = tokenize(_commandLine);
    // Every copy stays owned here until nothing can throw any more, so a
    // failed allocation half way leaves nothing behind.
    std::vector<Memory::Buffer> copies;
    copies.reserve(tokens.size());
    for (const string& token : tokens) {
        copies.emplace_back(
            Memory::duplicate(token.c_str(), static_cast<unsigned int>(token.size() + 1)));
    }
    std::unique_ptr<char*[]> argv(new char*[tokens.size() + 1]);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        argv[i] = copies[i].release();
    }
    argv[tokens.size()] = nullptr;
    _argc = static_cast<std::uint32_t>(tokens.size());
    _argv = argv.release();
}

CommandLineConverter::~CommandLineConverter() {
    for (std::uint32_t i = 0; i < _argc; ++i) {
        Memory::release(_argv[i]);
    }
    delete[] _argv;
}

std::vector<string> CommandLineConverter::tokenize(string line) {
    // The extra blank guarantees that the last token is followed by one.
    line += ' ';
    std::vector<string> tokens;
    string::size_type start = 0;
    string::size_type searchFrom = 0;
    while (start < line.size()) {
        const string::size_type spacePos = line.find(' ', searchFrom);
        const string::size_type fnuttPos = line.find('"', searchFrom);
        PLOVIX_CHECK(spacePos != fnuttPos);
        if (spacePos < fnuttPos) {
            const string command = line.substr(start, spacePos - start);
            if (!command.empty()) {
                // NOLINTNEXTLINE(performance-faster-string-find): its report quotes this text
                PLOVIX_CHECK(command.find_first_not_of(" ") != string::npos);
                tokens.push_back(command);
            }
            start = spacePos + 1;
            searchFrom = spacePos + 1;
        } else {
            const string::size_type closing = line.find('"', fnuttPos + 1);
            if (closing == string::npos) {
                throw CommandLineConverterException(
                    "Unmatched \" found when parsing command line: " + line);
            }
            // The quoted section and whatever touches it stay in this token.
            searchFrom = closing + 1;
        }
    }
    try {
        for (string& token : tokens) {
            StringHelper::replaceAll(token, "\"", "");
        }
    } catch (...) {
        PLOVIX_CHECK(false);
    }
    return tokens;
}

} // namespace parser
} // namespace util
