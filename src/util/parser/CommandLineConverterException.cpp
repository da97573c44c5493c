#include "util/parser/CommandLineConverterException.h"

namespace util {
namespace parser {

CommandLineConverterException::CommandLineConverterException(const std::string& message)
    : IllegalArgumentException(message) {}

} // namespace parser
} // namespace util
