#ifndef PLOVIX_APP_MESSAGEBOXREPORTER_H
#define PLOVIX_APP_MESSAGEBOXREPORTER_H

#include <windows.h>

#include <string>

#include "app/MessageReporter.h"

namespace app {

// Shows every message in a message box captioned with the application's
// name and the kind of message, and waits until the user closes it; a text
// too long for a box is cut to what one can show. The
// report operations go through the virtual show operations, so a subclass
// can change where a kind of message goes.
class MessageBoxReporter : public MessageReporter {
public:
    explicit MessageBoxReporter(const std::string& applicationName);

    void reportError(const std::string& message) override;
    void reportSuccess(const std::string& message) override;
    void reportInformation(const std::string& message) override;

    // The captions of the three kinds of box.
    std::string errorCaption() const;
    std::string successCaption() const;
    std::string informationCaption() const;

    // A null owner gives a box without owner window.
    virtual void showError(const std::string& message, HWND owner);
    virtual void showSuccess(const std::string& message, HWND owner);
    virtual void showInformation(const std::string& message, HWND owner);

private:
    std::string _applicationName;
};

} // namespace app

#endif
