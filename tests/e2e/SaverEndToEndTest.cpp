// Drives the built Plovix.scr as Windows and a user do: a real command line,
// the screen, the keyboard and mouse, message boxes and the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "app/MessageBoxReporter.h"
#include "app/Program.h"
#include "desktopprobe/InputSender.h"
#include "desktopprobe/MessageBoxReader.h"
#include "desktopprobe/ScreenReader.h"
#include "desktopprobe/WineFeatures.h"
#include "picture/PictureLayout.h"
#include "support/Blinks.h"
#include "support/SaverProcess.h"
#include "support/TestWindow.h"
#include "support/Waiting.h"
#include "windows/graphics/PictureColours.h"

namespace {

using support::saverCommand;
using support::SaverProcess;
using support::waitUntil;
using tools::desktopprobe::InputSender;
using tools::desktopprobe::MessageBoxReader;

const char* const SAVER_CLASS = app::WINDOW_CLASS_NAME;
// The error box's caption as the user sees it, pinned here.
const std::string ERROR_CAPTION = "Plovix Screensaver Error";
const COLORREF DARK = windows::graphics::PictureColours::DARK;
const COLORREF LIGHT = windows::graphics::PictureColours::LIGHT;
using picture::PictureLayout;
// The middle of the cursor block at 800x600.
const POINT BLOCK = {PictureLayout::CURSOR_SAMPLE.x, PictureLayout::CURSOR_SAMPLE.y};
const int PREVIEW_WIDTH = PictureLayout::PREVIEW_WIDTH;
const int PREVIEW_HEIGHT = PictureLayout::PREVIEW_HEIGHT;

// No flag means a full-screen run. How each way of ending a run puts the
// display back is seen on the displays that really switch.
TEST(SaverEndToEndTest, ShowsTheBlinkingScreenUntilAKey) {
    SaverProcess saver(saverCommand(""));
    ASSERT_NE(nullptr, support::waitForWindow(saver, SAVER_CLASS));
    // Opened once the run has switched the mode, which a screen opened
    // before need not follow.
    const tools::desktopprobe::ScreenReader screen;
    const PictureLayout::Point border = PictureLayout::BORDER_SAMPLE;
    const PictureLayout::Point area = PictureLayout::TEXT_AREA_SAMPLE;
    ASSERT_TRUE(waitUntil([&] { return screen.pixel(border.x, border.y) == LIGHT; }));
    EXPECT_EQ(DARK, screen.pixel(area.x, area.y));
    EXPECT_EQ(LIGHT, screen.pixel(PictureLayout::BANNER_SAMPLE.x, PictureLayout::BANNER_SAMPLE.y));

    // The block changes between the two blues every 350 ms. The median of
    // six intervals stays within 60 ms of it on a busy machine; the benchmark
    // measures the period precisely.
    // A loop that no longer sleeps between blinks shows the same pixels. Its
    // share is read from a blink on, past the run's start-up work, and over
    // the same moments as the processor time it is made of.
    ASSERT_EQ(1u, support::blinks(BLOCK.x, BLOCK.y, 1).size());
    const double busyBefore = support::loopProcessorMs(saver);
    const auto watched = std::chrono::steady_clock::now();
    const auto changes = support::blinks(BLOCK.x, BLOCK.y, 7);
    ASSERT_EQ(7u, changes.size());
    EXPECT_LT(support::loopShare(saver, busyBefore, std::chrono::steady_clock::now() - watched),
              support::IDLE_LOOP_SHARE);
    std::vector<long long> intervals;
    for (std::size_t i = 1; i < changes.size(); ++i) {
        intervals.push_back(
            std::chrono::duration_cast<std::chrono::milliseconds>(changes[i] - changes[i - 1])
                .count());
    }
    std::sort(intervals.begin(), intervals.end());
    EXPECT_NEAR(350.0, static_cast<double>(intervals[2] + intervals[3]) / 2, 60.0);

    // The pointer's hiding and return are the saver's test's: seen from
    // another process, the system shows the pointer once the saver ends,
    // whatever the saver left.
    InputSender::key(VK_SPACE);
    EXPECT_EQ(0, saver.waitForExit(timeouts::SHORT_WAIT_MS));
}

// The longest command line Windows passes on, and letters outside ASCII in
// this system's code page; the router's tests read every other kind.
TEST(SaverEndToEndTest, BadCommandLinesAreShownAndEndWithOne) {
    char accented[16] = {};
    WideCharToMultiByte(CP_ACP, 0, L"/\u00e9t\u00e9", -1, accented, sizeof accented, nullptr,
                        nullptr);
    const std::string longest = "/" + std::string(32000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {longest, "The flag /" + std::string(79, 'x') + "... is not allowed"},
        {accented, "The flag " + std::string(accented) + " is not allowed"},
    };
    for (const auto& c : cases) {
        SaverProcess saver(saverCommand(c.first));
        EXPECT_EQ(c.second, MessageBoxReader::answer(ERROR_CAPTION).text) << c.first;
        EXPECT_EQ(nullptr, FindWindowA(SAVER_CLASS, nullptr)) << c.first;
        EXPECT_EQ(1, saver.waitForExit(timeouts::SHORT_WAIT_MS)) << c.first;
    }
}

std::string previewArguments(HWND parent) {
    return "/p " + std::to_string(static_cast<unsigned long>(
                       reinterpret_cast<std::uintptr_t>(parent) & 0xFFFFFFFFu));
}

// The saver's child of `parent` once it is made and shown, or null after
// 10 s. The child sends its parent messages while it is made, so they are
// answered meanwhile.
HWND shownPreview(HWND parent) {
    HWND child = nullptr;
    waitUntil([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
            DispatchMessageA(&message);
        }
        child = GetWindow(parent, GW_CHILD);
        return IsWindowVisible(child) != 0;
    });
    return child;
}

TEST(SaverEndToEndTest, PreviewLivesInsideItsParentUntilTheParentIsGone) {
    support::TestWindow parent(support::uniqueClassName(), PREVIEW_WIDTH, PREVIEW_HEIGHT,
                               WS_POPUP | WS_VISIBLE);
    SaverProcess saver(saverCommand(previewArguments(parent.handle())));
    const HWND child = shownPreview(parent.handle());
    ASSERT_NE(nullptr, child);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(nullptr, GetWindow(child, GW_HWNDNEXT)); // the only child
    RECT rect = {};
    GetClientRect(child, &rect);
    EXPECT_EQ(PREVIEW_WIDTH, rect.right);
    EXPECT_EQ(PREVIEW_HEIGHT, rect.bottom);
    EXPECT_EQ(SaverProcess::STILL_RUNNING, saver.waitForExit(500));
    parent.destroy();
    EXPECT_EQ(0, saver.waitForExit(timeouts::SHORT_WAIT_MS));
}

// What the saver paints into the dialog's window is on the screen: the
// picture scaled to 152x112 and its 3x3 block at (15,35) blinking.
TEST(SaverEndToEndTest, PreviewShowsTheScaledPictureAndItsBlink) {
    const tools::desktopprobe::WineFeatures wine;
    if (!wine.showsOtherProcessesChildren()) {
        GTEST_SKIP() << wine.version()
                     << " does not show what one process paints into a child of another "
                        "process's window";
    }
    support::TestWindow parent(support::uniqueClassName(), PREVIEW_WIDTH, PREVIEW_HEIGHT,
                               WS_POPUP | WS_VISIBLE);
    SaverProcess saver(saverCommand(previewArguments(parent.handle())));
    ASSERT_NE(nullptr, shownPreview(parent.handle()));
    const tools::desktopprobe::ScreenReader screen;
    EXPECT_TRUE(waitUntil([&] { return screen.pixel(2, 2) == LIGHT; })); // border
    EXPECT_EQ(DARK, screen.pixel(76, 70));                               // text area
    EXPECT_EQ(3u, support::blinks(16, 36, 3).size());
    parent.destroy();
    EXPECT_EQ(0, saver.waitForExit(timeouts::SHORT_WAIT_MS));
}

// A handle of no window is reported, the special handles too (HWND_MESSAGE,
// signed and unsigned, would hold an unseen preview forever; then
// HWND_TOPMOST, HWND_NOTOPMOST, HWND_BOTTOM and HWND_BROADCAST). The dialog
// may also close its preview while the saver starts: gone before the saver
// looked, the parent is such a handle; gone later, the run just ends. Either
// way the exit code is 0 and no window is left.
TEST(SaverEndToEndTest, PreviewIntoAWindowThatIsNotThereEndsWithZero) {
    for (const char* handle : {"12345", "-3", "4294967293", "-1", "-2", "1", "65535"}) {
        SaverProcess saver(saverCommand(std::string("/p ") + handle));
        const std::string text = MessageBoxReader::answer(ERROR_CAPTION).text;
        EXPECT_EQ(0u, text.find("Exception caught in 'runPreview'.\n")) << handle << ": " << text;
        EXPECT_EQ(0, saver.waitForExit(timeouts::SHORT_WAIT_MS)) << handle;
    }
    support::TestWindow parent(support::uniqueClassName(), PREVIEW_WIDTH, PREVIEW_HEIGHT,
                               WS_POPUP | WS_VISIBLE);
    SaverProcess saver(saverCommand(previewArguments(parent.handle())));
    parent.destroy();
    waitUntil([&] {
        MessageBoxReader::answer(ERROR_CAPTION, 0);
        return saver.waitForExit(10) != SaverProcess::STILL_RUNNING;
    });
    EXPECT_EQ(0, saver.waitForExit(0));
    EXPECT_EQ(nullptr, FindWindowA(SAVER_CLASS, nullptr));
}

// A copy of the saver in a folder of its own whose name has blanks; both go
// with the object.
class SaverInAFolderWithBlanks {
public:
    SaverInAFolderWithBlanks() {
        char temporary[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temporary);
        _folder =
            std::string(temporary) + "Plovix test folder " + std::to_string(GetCurrentProcessId());
        path = _folder + "\\Plovix.scr";
        if (CreateDirectoryA(_folder.c_str(), nullptr) == 0 ||
            CopyFileA(SaverProcess::besideThisProgram("Plovix.scr").c_str(), path.c_str(), TRUE) ==
                0) {
            ADD_FAILURE() << "Could not copy the saver to " << path << ": " << GetLastError();
        }
    }
    ~SaverInAFolderWithBlanks() {
        DeleteFileA(path.c_str());
        RemoveDirectoryA(_folder.c_str());
    }
    SaverInAFolderWithBlanks(const SaverInAFolderWithBlanks&) = delete;
    SaverInAFolderWithBlanks& operator=(const SaverInAFolderWithBlanks&) = delete;

    std::string path;

private:
    std::string _folder;
};

// Some callers start a saver by its path unquoted, blanks and all, and name
// the program apart: every mode still starts.
TEST(SaverEndToEndTest, SaverStartedByAnUnquotedPathWithBlanksRunsEachMode) {
    const SaverInAFolderWithBlanks copy;
    {
        SaverProcess saver(copy.path + " /c", copy.path);
        const std::string caption =
            app::MessageBoxReporter(app::APPLICATION_NAME).informationCaption();
        EXPECT_TRUE(MessageBoxReader::answer(caption).found);
        EXPECT_EQ(0, saver.waitForExit(timeouts::SHORT_WAIT_MS));
    }
    {
        support::TestWindow parent(support::uniqueClassName(), PREVIEW_WIDTH, PREVIEW_HEIGHT,
                                   WS_POPUP | WS_VISIBLE);
        SaverProcess saver(copy.path + " " + previewArguments(parent.handle()), copy.path);
        EXPECT_NE(nullptr, shownPreview(parent.handle()));
        parent.destroy();
        EXPECT_EQ(0, saver.waitForExit(timeouts::SHORT_WAIT_MS));
    }
    SaverProcess saver(copy.path, copy.path);
    ASSERT_NE(nullptr, support::waitForWindow(saver, SAVER_CLASS));
    support::endWith(saver, [] { InputSender::key(VK_SPACE); });
    EXPECT_EQ(0, saver.waitForExit(0));
}

} // namespace
