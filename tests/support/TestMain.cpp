// The entry of every test program. CTest runs one test a process and tells a
// skipped test by this exit code alone, so that a test that prints that it
// skips and then crashes or hangs is a failure, not a skip.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#ifdef _WIN32
#include <cstdio>
#include <string>
#include <utility>
#include <vector>
#endif

namespace {

#ifdef _WIN32
// Wine now and then makes its display devices anew after a mode change:
// the process that changed the mode and the desktop process both rebuild
// them, and one removes what the other has just put back. The graphics card
// then gets a new registry key, the user's mode is not under it, and the
// desktop process stores there the mode the screen has at that moment, so
// that from then on every return to the user's mode sets that one. A test
// cannot tell that from a fault of the saver's: it says so, for the test
// command to run it again on a fresh display, and gives the display its
// user's modes back for the tests after it. Windows keeps its devices' keys.
class DisplayDevicesWatch : public ::testing::Environment {
public:
    void SetUp() override {
        _key = _cardKey();
        DISPLAY_DEVICEA device = {};
        device.cb = sizeof device;
        for (DWORD index = 0; EnumDisplayDevicesA(nullptr, index, &device, 0) != 0; ++index) {
            DEVMODEA mode = {};
            mode.dmSize = sizeof mode;
            if ((device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0 &&
                EnumDisplaySettingsA(device.DeviceName, ENUM_REGISTRY_SETTINGS, &mode) != 0) {
                _modes.emplace_back(device.DeviceName, mode);
            }
        }
    }

    void TearDown() override {
        const std::string key = _cardKey();
        if (_key.empty() || key.empty() || key == _key) {
            return;
        }
        std::printf("%sit made the display devices anew during the test, and the user's modes "
                    "were lost with them (%s, then %s)\n",
                    PLOVIX_WINE_FAULT_MARK, _key.c_str(), key.c_str());
        for (auto& [device, mode] : _modes) {
            if (ChangeDisplaySettingsExA(device.c_str(), &mode, nullptr,
                                         CDS_UPDATEREGISTRY | CDS_NORESET,
                                         nullptr) != DISP_CHANGE_SUCCESSFUL) {
                std::printf("the user's mode of %s could not be stored again\n", device.c_str());
            }
        }
        if (ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr) !=
            DISP_CHANGE_SUCCESSFUL) {
            std::printf("the user's modes could not be set again\n");
        }
    }

private:
    // The graphics card's key, as the first display device names it; empty
    // when there is none.
    static std::string _cardKey() {
        DISPLAY_DEVICEA device = {};
        device.cb = sizeof device;
        return EnumDisplayDevicesA(nullptr, 0, &device, 0) != 0 ? device.DeviceKey : "";
    }

    std::string _key;
    // Each display device's stored mode, from before the test.
    std::vector<std::pair<std::string, DEVMODEA>> _modes;
};
#endif

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    ::testing::AddGlobalTestEnvironment(new DisplayDevicesWatch);
#endif
    const int result = RUN_ALL_TESTS();
    const ::testing::UnitTest& tests = *::testing::UnitTest::GetInstance();
    if (result == 0 && tests.skipped_test_count() > 0 && tests.successful_test_count() == 0) {
        return PLOVIX_TEST_SKIPPED_CODE;
    }
    return result;
}
