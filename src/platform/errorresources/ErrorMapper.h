#ifndef PLOVIX_PLATFORM_ERRORRESOURCES_ERRORMAPPER_H
#define PLOVIX_PLATFORM_ERRORRESOURCES_ERRORMAPPER_H

#include <string>
#include <utility>

namespace platform {
namespace errorresources {

// A caller's own table of error texts, asked when the system has none.
class ErrorMapper {
public:
    virtual ~ErrorMapper() = default;
    // first: whether the code is known; second: its text when it is.
    virtual std::pair<bool, std::string> lookup(int errorCode) const = 0;
};

} // namespace errorresources
} // namespace platform

#endif
