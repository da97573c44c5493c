#include "fuzz/FuzzCheck.h"
#include "util/StringHelper.h"

// Input: the text, the pattern and the replacement, split at zero bytes (the
// text never holds one). One pass from the left over the original text: an
// occurrence is replaced and the search goes on behind it, never inside what
// was inserted. So the length changes by the difference for each
// replacement, and a one-character pattern the replacement lacks is gone.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    const std::vector<std::string> parts = fuzz::split(data, size, 3);
    const std::string &original = parts[0], &pattern = parts[1], &replacement = parts[2];
    std::string text = original;
    const int count = util::StringHelper::replaceAll(text, pattern, replacement);

    std::string expected;
    int found = 0;
    for (std::size_t i = 0; i < original.size();) {
        if (!pattern.empty() && original.compare(i, pattern.size(), pattern) == 0) {
            expected += replacement;
            i += pattern.size();
            ++found;
        } else {
            expected += original[i++];
        }
    }
    FUZZ_CHECK(text == expected && count == found);
    const auto n = static_cast<std::size_t>(count);
    FUZZ_CHECK(text.size() + n * pattern.size() == original.size() + n * replacement.size());
    FUZZ_CHECK(pattern.size() != 1 || replacement.find(pattern) != std::string::npos ||
               text.find(pattern) == std::string::npos);
    return 0;
}
