#ifndef PLOVIX_APP_PLOVIXSAVERIMPL_H
#define PLOVIX_APP_PLOVIXSAVERIMPL_H

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/CoverPainter.h"
#include "app/ExitPolicy.h"
#include "app/MessageReporter.h"
#include "app/MonitorCovers.h"
#include "app/MonitorLayout.h"
#include "windows/devices/display/DisplaySettings.h"
#include "windows/graphics/WindowsBitmap.h"
#include "windows/screensaver/Screensaver.h"
#include "windows/window/MessageListener.h"
#include "windows/window/Window.h"

namespace app {

// The screen saver: the configuration notice, the full-screen run at
// 800x600 and the preview inside the settings dialog, each showing the
// start-up screen with its blinking cursor. A full-screen run also covers
// every other monitor with the picture, blinking in step. Receives its window's messages
// as a MessageListener. Owns the three pictures, which live from the run
// that loads them until the object is destroyed.
class PlovixsaverImpl : public windows::screensaver::Screensaver,
                        public windows::window::MessageListener {
public:
    // What configure() tells the user.
    static const char* const NOTICE;

    // Nothing but the two texts is owned. The pictures are loaded from
    // `pictures`, or from the program's own file when that is null.
    PlovixsaverImpl(MessageReporter* reporter, windows::devices::display::DisplaySettings* display,
                    ExitPolicy* exitPolicy, const std::string& title, const std::string& className,
                    HINSTANCE pictures = nullptr);
    // Deletes the pictures. A picture that cannot be released throws its
    // WindowsBitmapException (after the others are released), so the entry
    // can report it.
    // NOLINTNEXTLINE(bugprone-exception-escape): passes on a picture not released
    virtual ~PlovixsaverImpl() noexcept(false);

    PlovixsaverImpl(const PlovixsaverImpl&) = delete;
    PlovixsaverImpl& operator=(const PlovixsaverImpl&) = delete;

    void configure(HWND owner) override;
    // Never lets an exception out; failures are reported.
    void runScreensaver() override;
    void runPreview(HWND parent) override;

    LRESULT windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    WNDCLASSEXA makeWindowClass() const;

protected:
    // Asks the system for the blink's timer: the one place its period is
    // given, open to a test that watches what is asked.
    virtual void startBlinkTimer(HWND window, UINT_PTR timer, UINT periodMs);

private:
    // Loads the pictures and pumps messages until the run is to end. A
    // failure ends it early; its report is returned ("" if none) so that the
    // caller can show it once the screen is back as it was.
    std::string _run(windows::window::Window& window);
    // Moves the first failure inside a message into `runFailure` unless the
    // run failed by itself.
    void _takeMessageFailure(std::string& runFailure);
    // Covers the other monitors anew, in a full-screen run, when they have
    // changed. Returns whether it did.
    bool _updateCovers();
    // Runs a step of following the monitors once the run has begun. A
    // failure there (a session switch or a remote desktop reconnecting can
    // refuse the monitor list or a cover's place for a moment) must not end
    // the run or show a box over it: the covers there are stay, the next
    // blink tries again, and the failure is recorded as a failed
    // consistency check, once for a stretch of failures. The step answers
    // whether it found the covers as the monitors want them or made them
    // so; only such a step ends the stretch, not one that had nothing to do
    // or left the work to the loop.
    template <typename Step>
    void _coverStep(Step step);
    // Answers a message of the run's window or of a cover, or nothing for
    // the system's own handling. Whatever it throws ends the run.
    std::optional<LRESULT> _onMessage(HWND window, UINT message, WPARAM wParam);
    void _askExitRule(UINT message, WPARAM wParam);
    void _onDisplayChange();
    // Blinks the run's window and the covers, and has the covers follow the
    // monitors.
    void _onTimer(HWND window);
    void _onPaint(HWND window);
    void _onCoverPaint(HWND window, const MonitorLayout::Cover& cover);
    RECT _cursorRect() const;
    bool _coverShowsCursor() const;
    CoverPainter _coverPainter() const;
    static void _replace(windows::graphics::WindowsBitmap*& slot,
                         windows::graphics::WindowsBitmap* picture);

    MessageReporter* _reporter;
    windows::devices::display::DisplaySettings* _display;
    ExitPolicy* _exitPolicy;
    std::string _title;
    std::string _className;
    HINSTANCE _pictures;
    std::string _messageFailure;
    bool _done;
    std::int32_t _preview;
    windows::graphics::WindowsBitmap* _bitmap;
    windows::graphics::WindowsBitmap* _cursor;
    windows::graphics::WindowsBitmap* _nocursor;
    bool _cursorVisible;
    // The windows over the other monitors, while a full-screen run has them.
    MonitorCovers* _covers;
    // The monitors' layout is to be covered anew.
    bool _coversStale;
    // A step of following the monitors failed and was recorded, and none
    // has followed them since.
    bool _coverFailureRecorded;
    // The window that a run shows its picture in and blinks by.
    HWND _runWindow;
};

} // namespace app

#endif
