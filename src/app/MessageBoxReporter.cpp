#include "app/MessageBoxReporter.h"

#include <cstddef>

namespace app {

namespace {

const std::size_t LONGEST_WORD = 80;
const std::size_t LONGEST_TEXT = 2000;
const std::size_t MOST_LINES = 40;

// What a box can show: a box grows with its text until its button leaves
// the screen, and an unbroken word wider than the screen hides how the text
// begins (a command line can be 32,767 characters long). Such a word, and
// the text after so many characters or lines, are cut and marked "...".
std::string boxText(const std::string& message) {
    std::string text;
    std::size_t word = 0;
    std::size_t lines = 1;
    for (const char c : message) {
        if (text.size() >= LONGEST_TEXT || lines > MOST_LINES) {
            return text + "...";
        }
        if (c == ' ' || c == '\t' || c == '\n') {
            word = 0;
            lines += c == '\n' ? 1 : 0;
            text += c;
        } else if (++word <= LONGEST_WORD) {
            text += c;
        } else if (word == LONGEST_WORD + 1) {
            text += "...";
        }
    }
    return text;
}

} // namespace

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
    MessageBoxA(owner, boxText(message).c_str(), errorCaption().c_str(),
                MB_ICONERROR | MB_SETFOREGROUND);
}

void MessageBoxReporter::showSuccess(const std::string& message, HWND owner) {
    MessageBoxA(owner, boxText(message).c_str(), successCaption().c_str(),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
}

void MessageBoxReporter::showInformation(const std::string& message, HWND owner) {
    MessageBoxA(owner, boxText(message).c_str(), informationCaption().c_str(),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
}

} // namespace app
