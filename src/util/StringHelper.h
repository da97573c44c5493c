#ifndef PLOVIX_UTIL_STRINGHELPER_H
#define PLOVIX_UTIL_STRINGHELPER_H

#include <string>

namespace util {

enum CaseConversion { LOWER_CASE = 0, UPPER_CASE = 1 };

// Byte-wise text operations in the "C" locale's rules: only A-Z and a-z
// change case, every byte from 0x80 up is left alone.
class StringHelper {
public:
    StringHelper() = delete;

    // Replaces every occurrence of `searchFor`, left to right and never inside
    // text it has just inserted. Returns the number of replacements; an empty
    // `searchFor` replaces nothing. `replaceIn` holds no zero byte (one is
    // reported as a failed check).
    static int replaceAll(std::string& replaceIn, const std::string& searchFor,
                          const std::string& replaceWith);

    static std::string toLowerCase(const std::string& src);

    // The converted text up to the first zero byte of `src`. `mode` is a
    // CaseConversion value; any other value reports a check and converts
    // nothing.
    static std::string convertCase(const std::string& src, int mode);
};

} // namespace util

#endif
