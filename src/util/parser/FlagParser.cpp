#include "util/parser/FlagParser.h"

#include <string>
#include <utility>
#include <vector>

#include "exceptions/IllegalArgumentException.h"
#include "util/Helpers.h"

namespace util {
namespace parser {

using exceptions::IllegalArgumentException;
using std::string;

FlagParser::FlagParser(char flagPrefix)
    : _flagPrefix(flagPrefix) {}

void FlagParser::addFlag(const string& name, unsigned int min, unsigned int max, bool optional) {
    if (_declaredFlags.count(name) != 0) {
        throw IllegalArgumentException("The flag " + name + " has been previosly specified");
    }
    if (max < min) {
        throw IllegalArgumentException("[max] must be bigger or equal to [min]");
    }
    _declaredFlags[name] = FlagDeclaration{min, max, optional};
}

void FlagParser::parse(const string& argumentLine) {
    // The blanks of the C locale, whatever the user's locale is.
    const char* const BLANKS = " \t\n\v\f\r";
    std::vector<string> tokens;
    for (string::size_type start = argumentLine.find_first_not_of(BLANKS); start != string::npos;) {
        const string::size_type end = argumentLine.find_first_of(BLANKS, start);
        tokens.push_back(argumentLine.substr(start, end - start));
        start = argumentLine.find_first_not_of(BLANKS, end);
    }
    parseTokens(tokens);
}

bool FlagParser::isFlagSet(const string& name) const {
    return _parsedFlags.count(name) != 0;
}

const std::vector<string>& FlagParser::getArguments(const string& name) {
    const auto found = _parsedFlags.find(name);
    if (found == _parsedFlags.end()) {
        throw IllegalArgumentException("The flag: " + name + " was not parsed");
    }
    return found->second;
}

void FlagParser::parseTokens(const std::vector<string>& tokens) {
    string currentFlag;
    for (const string& token : tokens) {
        if (isFlag(token)) {
            if (_declaredFlags.count(token) == 0) {
                throw IllegalArgumentException("The flag " + token + " is not allowed");
            }
            if (_parsedFlags.count(token) != 0) {
                throw IllegalArgumentException("The flag " + token + " was used more than once.");
            }
            currentFlag = token;
            _parsedFlags[token];
        } else {
            if (currentFlag.empty()) {
                throw IllegalArgumentException("The argument line should start with a flag");
            }
            _parsedFlags[currentFlag].push_back(token);
        }
    }
    validate();
}

bool FlagParser::isFlag(const string& token) const {
    if (token.empty()) {
        throw IllegalArgumentException("The empty string is not a flag or an argument.");
    }
    return token[0] == _flagPrefix;
}

void FlagParser::validate() const {
    for (const auto& declared : _declaredFlags) {
        const string& name = declared.first;
        const FlagDeclaration& declaration = declared.second;
        const auto parsed = _parsedFlags.find(name);
        if (parsed == _parsedFlags.end()) {
            if (!declaration.optional) {
                throw IllegalArgumentException("The non optional flag " + name + " was not found.");
            }
            continue;
        }
        const unsigned int count = static_cast<unsigned int>(parsed->second.size());
        if (count < declaration.min) {
            throw IllegalArgumentException("Not enough arguments for the flag " + name + ". " +
                                           numberToString(declaration.min) + " is required.");
        }
        if (count > declaration.max) {
            if (declaration.max != 0) {
                throw IllegalArgumentException("Too many arguments for the flag " + name +
                                               ". No more than " + numberToString(declaration.max) +
                                               " arguments allowed");
            }
            throw IllegalArgumentException("No arguments for the flag " + name + " are allowed");
        }
    }
}

} // namespace parser
} // namespace util
