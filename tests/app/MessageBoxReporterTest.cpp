#include "app/MessageBoxReporter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/MessageBoxWatcher.h"

namespace {

using app::MessageBoxReporter;

TEST(MessageBoxReporterTest, EachKindHasItsCaptionAndIconAndNoOwner) {
    MessageBoxReporter reporter("Plovix Test");
    const struct {
        void (MessageBoxReporter::*report)(const std::string&);
        const char* caption;
        const char* text;
        WORD icon;
    } kinds[] = {
        {&MessageBoxReporter::reportError, "Plovix Test Error", "Line one.\nLine two.",
         32513}, // IDI_HAND
        {&MessageBoxReporter::reportInformation, "Plovix Test Information", "",
         32516}, // IDI_ASTERISK
    };
    for (const auto& kind : kinds) {
        support::MessageBoxWatcher watcher(kind.caption);
        (reporter.*kind.report)(kind.text);
        watcher.join();
        ASSERT_TRUE(watcher.contents.found) << kind.caption;
        EXPECT_EQ(kind.text, watcher.contents.text);
        EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(kind.icon)), watcher.contents.icon);
        EXPECT_EQ(nullptr, watcher.contents.owner);
    }
}

} // namespace
