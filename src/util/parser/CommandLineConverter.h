#ifndef PLOVIX_UTIL_PARSER_COMMANDLINECONVERTER_H
#define PLOVIX_UTIL_PARSER_COMMANDLINECONVERTER_H

#include <cstdint>
#include <string>
#include <vector>

namespace util {
namespace parser {

// Splits one command-line text into the argc/argv form a C entry point gets:
// blanks separate, double quotes group and are dropped. Owns the argument
// array and every string in it.
class CommandLineConverter {
public:
    // Throws CommandLineConverterException on an unmatched double quote.
    explicit CommandLineConverter(const std::string& commandLine);
    virtual ~CommandLineConverter();

    CommandLineConverter(const CommandLineConverter&) = delete;
    CommandLineConverter& operator=(const CommandLineConverter&) = delete;

    const std::string& getCommandLine() const { return _commandLine; }
    std::uint32_t getArgc() const { return _argc; }
    // Null-terminated; the converter keeps ownership. Kept in the interface:
    // only the fuzz target reads it.
    const char* const* getArgv() const { return _argv; }

    // The tokens of `line` in order, quotes removed. Only the blank (0x20)
    // separates; there is no escape for a double quote.
    static std::vector<std::string> tokenize(std::string line);

private:
    std::uint32_t _argc;
    char** _argv;
    std::string _commandLine;
};

} // namespace parser
} // namespace util

#endif
