#include "windows/window/MessageMapper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/ReportDirectory.h"
#include "support/TestWindow.h"

namespace {

using windows::window::MessageListener;
using windows::window::MessageMapper;

const UINT PROBE = WM_APP + 7;

class RecordingListener : public MessageListener {
public:
    virtual ~RecordingListener() = default;
    LRESULT windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == PROBE) {
            last = {window, message, wParam, lParam};
            ++calls;
            if (removeItself) {
                MessageMapper::instance().remove(window);
            }
            return result;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    struct Call {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } last = {};
    int calls = 0;
    LRESULT result = 0;
    bool removeItself = false;
};

class MessageMapperTest : public ::testing::Test {
protected:
    ~MessageMapperTest() override { MessageMapper::instance().remove(window.handle()); }

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window.handle(), message, wParam, lParam);
    }

    support::TestWindow window{support::uniqueClassName()};
    MessageMapper& mapper = MessageMapper::instance();
};

TEST_F(MessageMapperTest, WindowWithoutListenerGetsTheDefaultProcedure) {
    ASSERT_NE(nullptr, window.handle());
    EXPECT_FALSE(mapper.exists(window.handle()));
    // DefWindowProcA answers with the length of the window's title.
    EXPECT_EQ(static_cast<LRESULT>(std::string("test window").size()), send(WM_GETTEXTLENGTH));
}

TEST_F(MessageMapperTest, ListenerGetsTheMessageAndItsResultIsReturned) {
    RecordingListener listener;
    listener.result = -42;
    mapper.add(window.handle(), &listener);
    EXPECT_EQ(&listener, mapper.get(window.handle()));
    EXPECT_EQ(-42, send(PROBE, 0x1234, -5));
    EXPECT_EQ(window.handle(), listener.last.window);
    EXPECT_EQ(PROBE, listener.last.message);
    EXPECT_EQ(0x1234u, listener.last.wParam);
    EXPECT_EQ(-5, listener.last.lParam);
}

TEST_F(MessageMapperTest, RemovedWindowGoesBackToTheDefaultProcedure) {
    RecordingListener listener;
    mapper.add(window.handle(), &listener);
    mapper.remove(window.handle());
    mapper.remove(window.handle());
    EXPECT_EQ(0, send(PROBE));
    EXPECT_EQ(0, listener.calls);
    EXPECT_EQ(nullptr, mapper.get(window.handle()));
}

TEST_F(MessageMapperTest, SecondListenerIsReportedAndReplacesTheFirst) {
    support::ReportDirectory directory;
    RecordingListener first;
    RecordingListener second;
    ::testing::internal::CaptureStdout();
    mapper.add(window.handle(), &first);
    mapper.add(window.handle(), &second);
    mapper.add(nullptr, &first);
    mapper.remove(nullptr);
    ::testing::internal::GetCapturedStdout();
    send(PROBE);
    EXPECT_EQ(0, first.calls);
    EXPECT_EQ(1, second.calls);
    EXPECT_EQ((std::vector<std::string>{"exists(windowHandle) == false", "windowHandle != 0",
                                        "windowHandle != 0"}),
              directory.failedChecks());
}

TEST_F(MessageMapperTest, ListenerMayRemoveItselfWhileCalled) {
    RecordingListener listener;
    listener.removeItself = true;
    listener.result = 9;
    mapper.add(window.handle(), &listener);
    EXPECT_EQ(9, send(PROBE));
    EXPECT_EQ(0, send(PROBE));
    EXPECT_EQ(1, listener.calls);
}

} // namespace
