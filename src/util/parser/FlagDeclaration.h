#ifndef PLOVIX_UTIL_PARSER_FLAGDECLARATION_H
#define PLOVIX_UTIL_PARSER_FLAGDECLARATION_H

#include <cstdint>

namespace util {
namespace parser {

// What a declared flag allows: its argument count range and whether it may be
// left out.
struct FlagDeclaration {
    std::uint32_t min;
    std::uint32_t max;
    bool optional;
};

} // namespace parser
} // namespace util

#endif
