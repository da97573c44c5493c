#include "app/MessageBoxReporter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "support/MessageBoxWatcher.h"

namespace {

using app::MessageBoxReporter;

TEST(MessageBoxReporterTest, EachKindHasItsCaptionAndIconAndNoOwner) {
    MessageBoxReporter reporter("Plovix Test");
    const struct {
        std::function<void(const std::string&)> report;
        const char* caption;
        const char* text;
        WORD icon;
    } kinds[] = {
        {[&](const std::string& m) { reporter.reportError(m); }, "Plovix Test Error",
         "Line one.\nLine two.", 32513}, // IDI_HAND
        {[&](const std::string& m) { reporter.reportInformation(m); }, "Plovix Test Information",
         "", 32516}, // IDI_ASTERISK
        {[&](const std::string& m) { reporter.reportSuccess(m); }, "Plovix Test Success", "done",
         32516},
    };
    for (const auto& kind : kinds) {
        support::MessageBoxWatcher watcher(kind.caption);
        kind.report(kind.text);
        watcher.join();
        ASSERT_TRUE(watcher.contents.found) << kind.caption;
        EXPECT_EQ(kind.text, watcher.contents.text);
        EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(kind.icon)), watcher.contents.icon);
        EXPECT_EQ(nullptr, watcher.contents.owner);
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
