#ifndef PLOVIX_TESTS_SUPPORT_THROWN_H
#define PLOVIX_TESTS_SUPPORT_THROWN_H

#include <string>

namespace support {

// The message of the `Failure` that `action` throws, or "(nothing thrown)".
template <typename Failure, typename Action>
std::string thrown(Action action) {
    try {
        action();
    } catch (const Failure& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}

} // namespace support

#endif
