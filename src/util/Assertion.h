#ifndef PLOVIX_UTIL_ASSERTION_H
#define PLOVIX_UTIL_ASSERTION_H

#include <ctime>
#include <string>

namespace util {

// Writes the report of a failed consistency check to standard output and
// appends it to "assertion.txt" in the current directory, or in the user's
// temporary folder when the current one refuses it. Never throws, never
// stops the program: a check that fails must not take the user's desktop
// down with it.
void assertionFailed(const char* message, const char* file, unsigned int line) noexcept;

// The fixed 24-character time text of a report, such as
// "Sat Dec 05 23:47:38 2026", for the local time of `when`.
std::string assertionTimeText(std::time_t when);

} // namespace util

// Evaluates the condition once; when it is false the report names the
// condition's source text, the file and the line, and execution goes on.
#define PLOVIX_CHECK(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::util::assertionFailed(#condition, __FILE__, __LINE__);                               \
        }                                                                                          \
    } while (false)

#endif
