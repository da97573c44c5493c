#ifndef PLOVIX_TESTS_SUPPORT_FAKEPROCESS_H
#define PLOVIX_TESTS_SUPPORT_FAKEPROCESS_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "windows/screensaver/ProcessContext.h"

namespace support {

// A process started with the given command line, with the given window
// (4242 unless told) in front, whose program has the given paths (none
// unless told).
class FakeProcess : public windows::screensaver::ProcessContext {
public:
    explicit FakeProcess(std::string commandLine, std::uintptr_t foreground = 4242,
                         std::vector<std::string> programPaths = {})
        : _commandLine(std::move(commandLine))
        , _foreground(reinterpret_cast<HWND>(foreground))
        , _programPaths(std::move(programPaths)) {}
    std::string getCommandLine() const override { return _commandLine; }
    HWND getForegroundWindow() const override { return _foreground; }
    std::vector<std::string> getProgramPaths() const override { return _programPaths; }

private:
    std::string _commandLine;
    HWND _foreground;
    std::vector<std::string> _programPaths;
};

} // namespace support

#endif
