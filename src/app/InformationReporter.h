#ifndef PLOVIX_APP_INFORMATIONREPORTER_H
#define PLOVIX_APP_INFORMATIONREPORTER_H

#include <string>

namespace app {

// Where information messages go to reach the user.
class InformationReporter {
public:
    virtual ~InformationReporter() = default;
    virtual void reportInformation(const std::string& message) = 0;
};

} // namespace app

#endif
