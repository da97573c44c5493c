#include <limits>

#include "exceptions/NumberFormatException.h"
#include "fuzz/FuzzCheck.h"
#include "windows/screensaver/ScreensaverRouter.h"

using windows::screensaver::ScreensaverRouter;

// The C library's reading of the text (blanks, a sign, digits), clamped:
// above 2^32 - 1 to the largest value, from 2^31 on as the 32-bit handle,
// below the smallest value to it. A text that reads as 0 is refused unless
// it is "0". What is read, printed signed or unsigned, reads back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    const std::string text(reinterpret_cast<const char*>(data), size);
    using Limits = std::numeric_limits<std::int32_t>;
    const std::int64_t top = std::numeric_limits<std::uint32_t>::max();
    std::int64_t expected = std::strtoll(text.c_str(), nullptr, 10);
    if (expected > top) {
        expected = Limits::max();
    } else if (expected > Limits::max()) {
        expected -= top + 1;
    } else if (expected < Limits::min()) {
        expected = Limits::min();
    }
    try {
        const std::int32_t value = ScreensaverRouter::parseInteger(text);
        FUZZ_CHECK(value == expected && (value != 0 || text == "0"));
        FUZZ_CHECK(ScreensaverRouter::parseInteger(std::to_string(value)) == value);
        const std::string asUnsigned = std::to_string(static_cast<std::uint32_t>(value));
        FUZZ_CHECK(ScreensaverRouter::parseInteger(asUnsigned) == value);
    } catch (const exceptions::NumberFormatException&) {
        FUZZ_CHECK(expected == 0 && text != "0");
    }
    return 0;
}
