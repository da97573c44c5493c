#ifndef PLOVIX_APP_SUCCESSREPORTER_H
#define PLOVIX_APP_SUCCESSREPORTER_H

#include <string>

namespace app {

// Where success messages go to reach the user. Kept in the interface: the
// saver has no success to report.
class SuccessReporter {
public:
    virtual ~SuccessReporter() = default;
    virtual void reportSuccess(const std::string& message) = 0;
};

} // namespace app

#endif
