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
    // The mapper is kept in the interface; every caller passes none.
    static std::string map(int errorCode, const ErrorMapper* fallbackErrors = 0) noexcept;

    // map() of the calling thread's last error code.
    static std::string lastErrorText() noexcept;

    // Throws E, made of message(lastErrorText()) and then `extra`: how every
    // failed call becomes an exception. The code is read before the message
    // is built, so nothing the message needs can replace it.
    template <typename E, typename Message, typename... Extra>
    [[noreturn]] static void throwLastError(Message message, const Extra&... extra) {
        const std::string systemText = lastErrorText();
        throw E(message(systemText), extra...);
    }

private:
    static std::string _map(int errorCode, const ErrorMapper* fallbackErrors);

    // Plain characters, not a string object: the mapping may run during
    // static initialisation, before another file's strings are made.
    static constexpr const char* LINE_BREAK = "\r\n";
};

} // namespace errorresources
} // namespace platform

#endif
