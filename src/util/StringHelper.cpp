#include "util/StringHelper.h"

#include <algorithm>

#include "util/Assertion.h"
#include "util/memory/Memory.h"

namespace util {

using std::find;
using util::memory::Memory;

int StringHelper::replaceAll(std::string& replaceIn, const std::string& searchFor,
                             const std::string& replaceWith) {
    PLOVIX_CHECK(find(replaceIn.begin(), replaceIn.end(), '\0') == replaceIn.end());
    if (searchFor.empty()) {
        // An empty text occurs everywhere; replacing it would never end.
        return 0;
    }
    int count = 0;
    std::string::size_type position = 0;
    for (;;) {
        position = replaceIn.find(searchFor, position);
        if (position == std::string::npos) {
            return count;
        }
        replaceIn.replace(position, searchFor.size(), replaceWith);
        ++count;
        position += replaceWith.size();
    }
}

std::string StringHelper::toLowerCase(const std::string& src) {
    return convertCase(src, LOWER_CASE);
}

std::string StringHelper::convertCase(const std::string& src, int mode) {
    PLOVIX_CHECK(src.c_str()[src.size()] == 0);
    const Memory::Buffer copy(
        Memory::duplicate(src.c_str(), static_cast<unsigned int>(src.size() + 1)));
    char* text = copy.get();
    if (mode == LOWER_CASE) {
        // The copy holds at least the terminating zero.
        // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDelete,clang-analyzer-core.UndefinedBinaryOperatorResult)
        for (char* c = text; *c != '\0'; ++c) {
            if (*c >= 'A' && *c <= 'Z') {
                *c = static_cast<char>(*c + ('a' - 'A'));
            }
        }
    } else if (mode == UPPER_CASE) {
        for (char* c = text; *c != '\0'; ++c) {
            if (*c >= 'a' && *c <= 'z') {
                *c = static_cast<char>(*c - ('a' - 'A'));
            }
        }
    } else {
        PLOVIX_CHECK(false);
    }
    return std::string(text);
}

} // namespace util
