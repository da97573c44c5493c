#ifndef PLOVIX_APP_MESSAGEREPORTER_H
#define PLOVIX_APP_MESSAGEREPORTER_H

#include "app/ErrorReporter.h"
#include "app/InformationReporter.h"
#include "app/SuccessReporter.h"

namespace app {

// Everything the application tells the user goes through one of these.
class MessageReporter : public ErrorReporter, public SuccessReporter, public InformationReporter {
public:
    ~MessageReporter() override = default;
};

} // namespace app

#endif
