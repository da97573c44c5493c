#include "app/MessageBoxReporter.h"

namespace app {

MessageBoxReporter::MessageBoxReporter(const std::string& applicationName)
    : _applicationName(applicationName) {}

void MessageBoxReporter::reportError(const std::string& message) {
    showError(message, nullptr);
}

void MessageBoxReporter::reportSuccess(const std::string& message) {
    showSuccess(message, nullptr);
}

void MessageBoxReporter::reportInformation(const std::string& message) {
    showInformation(message, nullptr);
}

std::string MessageBoxReporter::errorCaption() const {
    return _applicationName + " Error";
}

std::string MessageBoxReporter::successCaption() const {
    return _applicationName + " Success";
}

std::string MessageBoxReporter::informationCaption() const {
    return _applicationName + " Information";
}

void MessageBoxReporter::showError(const std::string& message, HWND owner) {
    MessageBoxA(owner, message.c_str(), errorCaption().c_str(), MB_ICONERROR | MB_SETFOREGROUND);
}

void MessageBoxReporter::showSuccess(const std::string& message, HWND owner) {
    MessageBoxA(owner, message.c_str(), successCaption().c_str(),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
}

void MessageBoxReporter::showInformation(const std::string& message, HWND owner) {
    MessageBoxA(owner, message.c_str(), informationCaption().c_str(),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
}

} // namespace app
