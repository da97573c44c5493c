#ifndef PLOVIX_UTIL_HELPERS_H
#define PLOVIX_UTIL_HELPERS_H

#include <string>

namespace util {

// One 32-bit integer printed under a printf format holding exactly one integer
// conversion. A null format is reported as a failed check and gives "". Kept
// in the interface: the product prints only through the two forms below.
std::string numberToString(int value, const char* format);
std::string numberToString(unsigned int value, const char* format);

// "%d" and "%u" forms.
std::string numberToString(int value);
std::string numberToString(unsigned int value);

// A handle as eight upper-case hexadecimal digits with leading zeros and no
// prefix: its low 32 bits, which is all a window or GDI handle holds even on
// 64-bit Windows.
std::string handleToString(const void* handle);

// The whole of the file at `path`, appended to `text`, for the build
// machine's programs; false when it cannot be read.
bool readFile(const std::string& path, std::string& text);

} // namespace util

#endif
