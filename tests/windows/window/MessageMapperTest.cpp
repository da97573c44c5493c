#include "windows/window/MessageMapper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/ReportDirectory.h"
#include "support/TestWindow.h"

namespace {

using windows::window::MessageListener;
using windows::window::MessageMapper;

const UINT PROBE = WM_APP + 7;

// Answers PROBE with `result`, remembering the arguments.
class Listener : public MessageListener {
public:
    virtual ~Listener() = default;
    LRESULT windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != PROBE) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        ++calls;
        got = {reinterpret_cast<std::intptr_t>(window), message, wParam, lParam};
        if (removeItself) {
            MessageMapper::instance().remove(window);
        }
        return result;
    }
    int calls = 0;
    std::tuple<std::intptr_t, UINT, WPARAM, LPARAM> got;
    LRESULT result = 0;
    bool removeItself = false;
};

class MessageMapperTest : public ::testing::Test {
protected:
    ~MessageMapperTest() override { mapper.remove(window.handle()); }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window.handle(), message, wParam, lParam);
    }

    support::TestWindow window{support::uniqueClassName()};
    MessageMapper& mapper = MessageMapper::instance();
    Listener listener;
};

TEST_F(MessageMapperTest, ListenerGetsItsWindowsMessagesUntilRemoved) {
    // Without a listener DefWindowProcA answers: the title's length.
    EXPECT_EQ(11, send(WM_GETTEXTLENGTH));
    listener.result = -42;
    mapper.add(window.handle(), &listener);
    EXPECT_EQ(-42, send(PROBE, 0x1234, -5));
    EXPECT_EQ(std::make_tuple(reinterpret_cast<std::intptr_t>(window.handle()), PROBE,
                              WPARAM{0x1234}, LPARAM{-5}),
              listener.got);
    mapper.remove(window.handle());
    mapper.remove(window.handle());
    EXPECT_EQ(0, send(PROBE));
    EXPECT_EQ(1, listener.calls);
}

TEST_F(MessageMapperTest, SecondListenerAndNullHandlesAreReported) {
    support::ReportDirectory directory;
    Listener second;
    mapper.add(window.handle(), &listener);
    mapper.add(window.handle(), &second);
    mapper.add(nullptr, &listener);
    mapper.remove(nullptr);
    send(PROBE);
    EXPECT_EQ(0, listener.calls);
    EXPECT_EQ(1, second.calls);
    EXPECT_EQ((std::vector<std::string>{"exists(windowHandle) == false", "windowHandle != 0",
                                        "windowHandle != 0"}),
              directory.failedChecks());
}

TEST_F(MessageMapperTest, ListenerMayRemoveItselfWhileCalled) {
    listener.removeItself = true;
    listener.result = 9;
    mapper.add(window.handle(), &listener);
    EXPECT_EQ(9, send(PROBE));
    EXPECT_EQ(0, send(PROBE));
    EXPECT_EQ(1, listener.calls);
}

} // namespace
