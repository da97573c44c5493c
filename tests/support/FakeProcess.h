#ifndef PLOVIX_TESTS_SUPPORT_FAKEPROCESS_H
#define PLOVIX_TESTS_SUPPORT_FAKEPROCESS_H

#include <windows.h>

#include <string>

#include "windows/screensaver/ProcessContext.h"

namespace support {

// A process started with the given command line, with window 4242 in front.
class FakeProcess : public windows::screensaver::ProcessContext {
public:
    explicit FakeProcess(std::string commandLine)
        : _commandLine(std::move(commandLine)) {}
    std::string getCommandLine() const override { return _commandLine; }
    HWND getForegroundWindow() const override {
        return reinterpret_cast<HWND>(static_cast<std::intptr_t>(4242));
    }

private:
    std::string _commandLine;
};

} // namespace support

#endif
