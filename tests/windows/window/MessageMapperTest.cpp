#include "windows/window/MessageMapper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/MessageLog.h"
#include "support/TestWindow.h"

namespace {

using support::MessageLog;
using windows::window::MessageMapper;

class MessageMapperTest : public ::testing::Test {
protected:
    ~MessageMapperTest() override { mapper.remove(window.handle()); }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window.handle(), message, wParam, lParam);
    }

    support::TestWindow window{support::uniqueClassName()};
    MessageMapper& mapper = MessageMapper::instance();
    MessageLog log;
};

TEST_F(MessageMapperTest, ListenerGetsItsWindowsMessagesUntilRemoved) {
    EXPECT_EQ(11, send(WM_GETTEXTLENGTH)); // no listener: DefWindowProcA, the title's length
    log.result = -42;
    mapper.add(window.handle(), &log);
    EXPECT_EQ(-42, send(MessageLog::PROBE, 0x1234, -5));
    ASSERT_EQ(1u, log.probes.size());
    EXPECT_EQ(window.handle(), log.probes[0].window);
    EXPECT_EQ(0x1234u, log.probes[0].wParam);
    EXPECT_EQ(-5, log.probes[0].lParam);
    mapper.remove(window.handle());
    mapper.remove(window.handle());
    EXPECT_EQ(0, send(MessageLog::PROBE));
    EXPECT_EQ(1u, log.probes.size());

    log.removeItself = true; // while it is called
    mapper.add(window.handle(), &log);
    EXPECT_EQ(-42, send(MessageLog::PROBE));
    EXPECT_EQ(0, send(MessageLog::PROBE));
}

} // namespace
