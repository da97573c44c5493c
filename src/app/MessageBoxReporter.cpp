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

void MessageBoxReporter::showError(const std::string& message, HWND owner) {
    MessageBoxA(owner, message.c_str(), (_applicationName + " Error").c_str(),
                MB_ICONERROR | MB_SETFOREGROUND);
}

void MessageBoxReporter::showSuccess(const std::string& message, HWND owner) {
    MessageBoxA(owner, message.c_str(), (_applicationName + " Success").c_str(),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
}

void MessageBoxReporter::showInformation(const std::string& message, HWND owner) {
    MessageBoxA(owner, message.c_str(), (_applicationName + " Information").c_str(),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
}

} // namespace app
