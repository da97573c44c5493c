#ifndef PLOVIX_FUZZ_FUZZCHECK_H
#define PLOVIX_FUZZ_FUZZCHECK_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// A property every input keeps. When one fails the target names it and
// aborts, and libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(property)                                                                       \
    do {                                                                                           \
        if (!(property)) {                                                                         \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #property);   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

// The input cut at its first `count - 1` zero bytes into `count` texts, so
// that C strings come out whole; missing ones are empty.
inline std::vector<std::string> split(const std::uint8_t* data, std::size_t size,
                                      std::size_t count) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < count) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(count);
    return parts;
}

// A failed consistency check in the code under test is a finding too: its
// report lands in assertion.txt in the working folder, which the fuzz
// command gives each target to itself. Checked when an input is done.
struct NoFailedCheck {
    ~NoFailedCheck() { FUZZ_CHECK(!std::filesystem::exists("assertion.txt")); }
};

} // namespace fuzz

#endif
