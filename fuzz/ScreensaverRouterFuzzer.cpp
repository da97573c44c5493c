#include <algorithm>
#include <cstring>

#include "exceptions/Exception.h"
#include "fuzz/FuzzCheck.h"
#include "support/FakeProcess.h"
#include "windows/screensaver/ScreensaverRouter.h"

namespace {

using windows::screensaver::ScreensaverRouter;

// Keeps the one call it may get as "runPreview 1234": a window handle is a
// 32-bit value, sign-extended to the pointer's size.
class RecordingScreensaver : public windows::screensaver::Screensaver {
public:
    virtual ~RecordingScreensaver() = default;
    void configure(HWND owner) override { record("configure ", owner); }
    void runScreensaver() override { record("runScreensaver ", nullptr); }
    void runPreview(HWND parent) override { record("runPreview ", parent); }
    void record(const char* name, HWND handle) {
        const auto value = reinterpret_cast<std::intptr_t>(handle);
        FUZZ_CHECK(call.empty() && value == static_cast<std::int32_t>(value));
        call = name + std::to_string(value);
    }
    std::string call;
};

// The call for a process started with `commandLine` and `foreground` in
// front, or "error" for a refused line (shown, then exit code 1).
std::string routed(const std::string& commandLine, std::uintptr_t foreground) {
    RecordingScreensaver saver;
    try {
        ScreensaverRouter(saver, "", support::FakeProcess(commandLine, foreground)).route();
    } catch (const exceptions::Exception& e) {
        FUZZ_CHECK(saver.call.empty() && !e.getMessage().empty());
        return "error";
    }
    FUZZ_CHECK(!saver.call.empty());
    return saver.call;
}

std::string configured(std::uintptr_t owner) {
    return "configure " + std::to_string(static_cast<std::int32_t>(owner));
}

} // namespace

// Input: the command line, then after a zero byte the foreground window's
// handle. Every line ends in one call or one error. Only "/c" alone uses the
// foreground window, and then its 32 bits. A handle printed unsigned or
// signed names the same window.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::NoFailedCheck noFailedCheck;
    const std::vector<std::string> parts = fuzz::split(data, size, 2);
    std::uintptr_t front = 0;
    std::memcpy(&front, parts[1].data(), std::min(parts[1].size(), sizeof front));
    const std::string result = routed(parts[0], front);
    const std::string other = routed(parts[0], front + 1);
    FUZZ_CHECK(result == other || (result == configured(front) && other == configured(front + 1)));

    const auto handle = static_cast<std::uint32_t>(front);
    const std::string asSigned = std::to_string(static_cast<std::int32_t>(handle));
    FUZZ_CHECK(routed("Plovix.scr /p " + std::to_string(handle), 0) == "runPreview " + asSigned);
    FUZZ_CHECK(routed("Plovix.scr /l " + asSigned, 0) == "runPreview " + asSigned);
    FUZZ_CHECK(routed("Plovix.scr /c:" + std::to_string(handle), 0) == configured(handle));
    return 0;
}
