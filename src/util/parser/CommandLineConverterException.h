#ifndef PLOVIX_UTIL_PARSER_COMMANDLINECONVERTEREXCEPTION_H
#define PLOVIX_UTIL_PARSER_COMMANDLINECONVERTEREXCEPTION_H

#include <string>

#include "exceptions/IllegalArgumentException.h"

namespace util {
namespace parser {

// A command line the tokenizer cannot split: a double quote without a partner.
class CommandLineConverterException : public exceptions::IllegalArgumentException {
public:
    explicit CommandLineConverterException(const std::string& message);
};

} // namespace parser
} // namespace util

#endif
