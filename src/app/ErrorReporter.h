#ifndef PLOVIX_APP_ERRORREPORTER_H
#define PLOVIX_APP_ERRORREPORTER_H

#include <string>

namespace app {

// Where error messages go to reach the user.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void reportError(const std::string& message) = 0;
};

} // namespace app

#endif
