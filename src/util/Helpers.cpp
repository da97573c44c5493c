#include "util/Helpers.h"

#include <cstdint>
#include <cstdio>

#include "util/Assertion.h"

namespace util {

namespace {

template <typename Integer>
std::string printInteger(Integer value, const char* format) {
    PLOVIX_CHECK(format);
    if (format == nullptr) {
        return std::string();
    }
    char buffer[100] = {};
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    if (length < 0) {
        return std::string();
    }
    return std::string(buffer);
}

} // namespace

std::string numberToString(int value, const char* format) {
    return printInteger(value, format);
}

std::string numberToString(unsigned int value, const char* format) {
    return printInteger(value, format);
}

std::string handleToString(const void* handle) {
    const auto bits = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    return printInteger(static_cast<unsigned int>(bits), "%08X");
}

std::string numberToString(int value) {
    return printInteger(value, "%d");
}

std::string numberToString(unsigned int value) {
    return printInteger(value, "%u");
}

bool readFile(const std::string& path, std::string& text) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    // A short read is the end or a failure: no read follows it.
    char buffer[4096];
    std::size_t got = 0;
    do {
        got = std::fread(buffer, 1, sizeof buffer, in);
        text.append(buffer, got);
    } while (got == sizeof buffer);
    const bool read = std::ferror(in) == 0;
    return std::fclose(in) == 0 && read;
}

} // namespace util
