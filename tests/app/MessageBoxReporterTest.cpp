#include "app/MessageBoxReporter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/MessageBoxWatcher.h"

namespace {

using app::MessageBoxReporter;
using support::MessageBoxWatcher;

TEST(MessageBoxReporterTest, ErrorBoxHasTheCaptionTextAndErrorIcon) {
    MessageBoxReporter reporter("Plovix Test");
    MessageBoxWatcher watcher("Plovix Test Error");
    reporter.reportError("Line one.\nLine two.");
    watcher.join();
    ASSERT_TRUE(watcher.contents.found);
    EXPECT_EQ("Line one.\nLine two.", watcher.contents.text);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(32513)), watcher.contents.icon); // IDI_HAND
    EXPECT_EQ(nullptr, watcher.contents.owner);
}

TEST(MessageBoxReporterTest, InformationAndSuccessShareTheirIconButNotTheirCaption) {
    MessageBoxReporter reporter("Plovix Test");
    const HICON information = LoadIconA(nullptr, MAKEINTRESOURCEA(32516)); // IDI_ASTERISK
    {
        MessageBoxWatcher watcher("Plovix Test Information");
        reporter.reportInformation("");
        watcher.join();
        ASSERT_TRUE(watcher.contents.found);
        EXPECT_EQ("", watcher.contents.text);
        EXPECT_EQ(information, watcher.contents.icon);
    }
    {
        MessageBoxWatcher watcher("Plovix Test Success");
        reporter.reportSuccess("done");
        watcher.join();
        ASSERT_TRUE(watcher.contents.found);
        EXPECT_EQ("done", watcher.contents.text);
        EXPECT_EQ(information, watcher.contents.icon);
    }
}

// Reports go through the virtual show operations.
class SilentErrors : public MessageBoxReporter {
public:
    SilentErrors()
        : MessageBoxReporter("Plovix Test") {}
    void showError(const std::string& message, HWND owner) override {
        shown = message;
        shownOwner = owner;
    }
    std::string shown;
    HWND shownOwner = reinterpret_cast<HWND>(1);
};

TEST(MessageBoxReporterTest, ReportsGoThroughTheShowOperations) {
    SilentErrors reporter;
    app::MessageReporter& asInterface = reporter;
    asInterface.reportError("quiet");
    EXPECT_EQ("quiet", reporter.shown);
    EXPECT_EQ(nullptr, reporter.shownOwner);
}

} // namespace
