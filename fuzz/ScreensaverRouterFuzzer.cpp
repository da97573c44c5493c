#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "support/RecordingScreensaver.h"

namespace {

using support::routed;

std::string configured(std::uintptr_t owner) {
    return "configure " + std::to_string(static_cast<std::int32_t>(owner));
}

} // namespace

// Input: the command line, then after zero bytes the foreground window's
// handle and the program's paths (its long and short forms, as the system
// tells them), any of which may be longer than the line. Every line ends in
// one call or one failure. Only "/c" alone uses the foreground window, and
// then its 32 bits. A handle printed unsigned or signed names the same
// window.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    const std::vector<std::string> parts = fuzz::split(data, size, 4);
    std::uintptr_t front = 0;
    std::memcpy(&front, parts[1].data(), std::min(parts[1].size(), sizeof front));
    std::vector<std::string> paths;
    std::copy_if(parts.begin() + 2, parts.end(), std::back_inserter(paths),
                 [](const std::string& path) { return !path.empty(); });
    const std::string result = routed(parts[0], front, paths);
    const std::string other = routed(parts[0], front + 1, paths);
    FUZZ_CHECK(!result.empty() && result.rfind("; ", result.find("failed: ")) == std::string::npos);
    FUZZ_CHECK(result == other || (result == configured(front) && other == configured(front + 1)));

    const auto handle = static_cast<std::uint32_t>(front);
    const std::string asSigned = std::to_string(static_cast<std::int32_t>(handle));
    FUZZ_CHECK(routed("Plovix.scr /p " + std::to_string(handle), 0) == "runPreview " + asSigned);
    FUZZ_CHECK(routed("Plovix.scr /l " + asSigned, 0) == "runPreview " + asSigned);
    FUZZ_CHECK(routed("Plovix.scr /c:" + std::to_string(handle), 0) == configured(handle));
    return 0;
}
