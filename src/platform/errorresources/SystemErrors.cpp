#include "platform/errorresources/SystemErrors.h"

#include <windows.h>

#include "util/Assertion.h"
#include "util/Helpers.h"

namespace platform {
namespace errorresources {

namespace {

const char* const PREFIX = "System error message: ";

// Gives the buffer that FormatMessageA allocated back with LocalFree.
class LocalBuffer {
public:
    LocalBuffer() = default;
    ~LocalBuffer() {
        if (_text != nullptr) {
            LocalFree(_text);
        }
    }
    LocalBuffer(const LocalBuffer&) = delete;
    LocalBuffer& operator=(const LocalBuffer&) = delete;

    char** receiver() { return &_text; }
    const char* get() const { return _text; }

private:
    char* _text = nullptr;
};

} // namespace

std::string SystemErrors::map(int errorCode, const ErrorMapper* fallbackErrors) noexcept {
    try {
        return _map(errorCode, fallbackErrors);
    } catch (...) {
        PLOVIX_CHECK(false);
        try {
            return "An unexpected exception was caught in static std::string "
                   "SystemErrors::map(int errorCode, const ErrorMapper* fallbackErrors = 0) "
                   "throw()\n";
        } catch (...) {
            // Not even the guard text fits in memory.
            return std::string();
        }
    }
}

std::string SystemErrors::lastErrorText() noexcept {
    return map(static_cast<int>(GetLastError()));
}

std::string SystemErrors::_map(int errorCode, const ErrorMapper* fallbackErrors) {
    std::string result = PREFIX;
    LocalBuffer text;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives a
    // pointer to the allocated text.
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, static_cast<DWORD>(errorCode), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<LPSTR>(text.receiver()), 0, nullptr);
    if (length > 0 && text.get() != nullptr) {
        return result.append(text.get(), length);
    }
    if (fallbackErrors != nullptr) {
        const std::pair<bool, std::string> known = fallbackErrors->lookup(errorCode);
        if (known.first) {
            return result + known.second + LINE_BREAK;
        }
    }
    return result + "The string representation of the error code [" +
           util::numberToString(errorCode) + "] was not found." + LINE_BREAK;
}

} // namespace errorresources
} // namespace platform
