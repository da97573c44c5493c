#ifndef PLOVIX_PLATFORM_ERRORRESOURCES_SYSTEMERRORS_H
#define PLOVIX_PLATFORM_ERRORRESOURCES_SYSTEMERRORS_H

#include <string>

#include "platform/errorresources/ErrorMapper.h"

namespace platform {
namespace errorresources {

// Readable text for a system error code, appended to every message about a
// failed platform call. Usable inside error paths: it never throws.
class SystemErrors {
public:
    SystemErrors() = delete;

    // "System error message: " and the system's own text for the code (line
    // break included), else the mapper's text, else a sentence naming the code.
    static std::string map(int errorCode, const ErrorMapper* fallbackErrors = 0) noexcept;

private:
    static std::string _map(int errorCode, const ErrorMapper* fallbackErrors);

    // Plain characters, not a string object: the mapping may run during
    // static initialisation, before another file's strings are made.
    static constexpr const char* _LINE_BREAK = "\r\n";
};

} // namespace errorresources
} // namespace platform

#endif
