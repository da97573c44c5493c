#ifndef PLOVIX_TESTS_SUPPORT_RECORDINGSCREENSAVER_H
#define PLOVIX_TESTS_SUPPORT_RECORDINGSCREENSAVER_H

#include <cstdint>
#include <string>
#include <vector>

#include "exceptions/Exception.h"
#include "support/FakeProcess.h"
#include "windows/screensaver/Screensaver.h"
#include "windows/screensaver/ScreensaverRouter.h"

namespace support {

// Records each call it gets, as "runPreview 1234": a handle as the number
// it holds.
class RecordingScreensaver : public windows::screensaver::Screensaver {
public:
    virtual ~RecordingScreensaver() = default;
    void configure(HWND owner) override { calls.push_back("configure " + number(owner)); }
    void runScreensaver() override { calls.push_back("runScreensaver"); }
    void runPreview(HWND parent) override { calls.push_back("runPreview " + number(parent)); }

    std::vector<std::string> calls;

private:
    static std::string number(HWND handle) {
        return std::to_string(reinterpret_cast<std::intptr_t>(handle));
    }
};

// The calls the router makes for a process started with `commandLine`,
// joined by "; ", then "failed: " and why if it refuses the line.
inline std::string routed(const std::string& commandLine, std::uintptr_t foreground = 4242,
                          const std::vector<std::string>& programPaths = {}) {
    RecordingScreensaver saver;
    try {
        windows::screensaver::ScreensaverRouter(saver, "",
                                                FakeProcess(commandLine, foreground, programPaths))
            .route();
    } catch (const exceptions::Exception& e) {
        saver.calls.push_back("failed: " + e.getMessage());
    }
    std::string result;
    for (const std::string& call : saver.calls) {
        result += (result.empty() ? "" : "; ") + call;
    }
    return result;
}

} // namespace support

#endif
