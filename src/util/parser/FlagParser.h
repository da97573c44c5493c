#ifndef PLOVIX_UTIL_PARSER_FLAGPARSER_H
#define PLOVIX_UTIL_PARSER_FLAGPARSER_H

#include <map>
#include <string>
#include <vector>

#include "util/parser/FlagDeclaration.h"

namespace util {
namespace parser {

// Checks an argument line against declared flags and keeps, for each flag
// given, the arguments that followed it. Every broken rule is thrown as an
// IllegalArgumentException naming the flag.
//
// Use: construct, addFlag for every flag, parse once, then query.
class FlagParser {
public:
    explicit FlagParser(char flagPrefix);
    virtual ~FlagParser() = default;

    void addFlag(const std::string& name, unsigned int min, unsigned int max, bool optional);
    // Tokens are separated by the "C" locale's white space; quotes mean
    // nothing here.
    void parse(const std::string& argumentLine);

    bool isFlagSet(const std::string& name) const;
    const std::vector<std::string>& getArguments(const std::string& name);

private:
    void parseTokens(const std::vector<std::string>& tokens);
    bool isFlag(const std::string& token) const;
    void validate() const;

    char _flagPrefix;
    std::map<std::string, std::vector<std::string>> _parsedFlags;
    std::map<std::string, FlagDeclaration> _declaredFlags;
};

} // namespace parser
} // namespace util

#endif
