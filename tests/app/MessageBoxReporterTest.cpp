#include "app/MessageBoxReporter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>

#include "desktopprobe/MessageBoxReader.h"

namespace {

using app::MessageBoxReporter;
using tools::desktopprobe::MessageBoxReader;

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
        // Answered from a second thread: this one is inside the box.
        MessageBoxReader::Contents box;
        std::thread watcher([&] { box = MessageBoxReader::answer(kind.caption); });
        (reporter.*kind.report)(kind.text);
        watcher.join();
        ASSERT_TRUE(box.found) << kind.caption;
        EXPECT_EQ(kind.text, box.text);
        EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(kind.icon)), box.icon);
        EXPECT_EQ(nullptr, box.owner);
    }
}

// The box keeps its button on the screen and shows how its text begins.
TEST(MessageBoxReporterTest, TextsTooLongForABoxAreCut) {
    MessageBoxReporter reporter("Plovix Test");
    std::string manyWords;
    std::string manyLines;
    for (int i = 0; i < 1000; ++i) {
        manyWords += "ab ";
        manyLines += "a\n";
    }
    const std::pair<std::string, std::string> cases[] = {
        {std::string(32000, 'x') + " y", std::string(80, 'x') + "... y"},
        {manyWords, manyWords.substr(0, 2000) + "..."},
        {manyLines, manyLines.substr(0, 80) + "..."},
    };
    for (const auto& c : cases) {
        MessageBoxReader::Contents box;
        std::thread watcher([&] { box = MessageBoxReader::answer("Plovix Test Error"); });
        reporter.reportError(c.first);
        watcher.join();
        EXPECT_EQ(c.second, box.text);
    }
}

} // namespace
