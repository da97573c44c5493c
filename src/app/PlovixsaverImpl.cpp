#include "app/PlovixsaverImpl.h"

#include <exception>
#include <initializer_list>

#include "app/DisplayModeChange.h"
#include "app/resources/ResourceIds.h"
#include "exceptions/Exception.h"
#include "picture/PictureLayout.h"
#include "platform/errorresources/SystemErrors.h"
#include "util/Assertion.h"
#include "util/Helpers.h"
#include "windows/graphics/HiddenCursor.h"
#include "windows/graphics/PaintContext.h"
#include "windows/graphics/WindowsBitmapException.h"
#include "windows/window/WindowException.h"
#include "windows/window/WindowParameters.h"
#include "windows/window/WindowXImpl.h"

namespace app {

using exceptions::Exception;
using picture::PictureLayout;
using platform::errorresources::SystemErrors;
using windows::graphics::HiddenCursor;
using windows::graphics::PaintContext;
using windows::graphics::WindowsBitmap;
using windows::graphics::WindowsBitmapException;
using windows::window::Window;
using windows::window::WindowException;
using windows::window::WindowParameters;
using windows::window::WindowXImpl;

namespace {

const WORD PICTURE = PLOVIX_BITMAP_PICTURE;
const WORD CURSOR_BLOCK = PLOVIX_BITMAP_CURSOR_BLOCK;
const WORD EMPTY_BLOCK = PLOVIX_BITMAP_EMPTY_BLOCK;

const DWORD FULL_SCREEN_WIDTH = static_cast<DWORD>(PictureLayout::WIDTH);
const DWORD FULL_SCREEN_HEIGHT = static_cast<DWORD>(PictureLayout::HEIGHT);
// The picture is 50 cursor blocks wide and 37 high, each a cell, into which
// the cursor's picture, a cell with the dark line under it, is shrunk: a
// window of another size gets blocks scaled alike.
const unsigned int BLOCKS_ACROSS = 50;
const unsigned int BLOCKS_DOWN = 37;
static_assert(BLOCKS_ACROSS == PictureLayout::WIDTH / PictureLayout::CURSOR_WIDTH &&
                  BLOCKS_DOWN == PictureLayout::HEIGHT / (PictureLayout::CURSOR_HEIGHT - 1),
              "the blocks are the picture's cells, the cursor's dark line aside");

const UINT_PTR BLINK_TIMER = PictureLayout::BLINK_TIMER;
const UINT BLINK_PERIOD_MS = PictureLayout::BLINK_PERIOD_MS;

const DWORD FULL_SCREEN_STYLE = WS_POPUP | WS_VISIBLE;
const DWORD FULL_SCREEN_EX_STYLE = WS_EX_TOPMOST;
const DWORD PREVIEW_STYLE = WS_CHILD | WS_VISIBLE;
const DWORD PREVIEW_EX_STYLE = 0;

// Where the cursor cell lies, as fractions of the picture: the first cell of
// the row under the ready prompt. The second factor is the double just above
// 19/60, as the picture was laid out with it.
constexpr double CURSOR_LEFT = 0.1;
constexpr double CURSOR_TOP = 0.3166666666666667;
static_assert(static_cast<int>(CURSOR_LEFT * PictureLayout::WIDTH) == PictureLayout::CURSOR_LEFT &&
                  static_cast<int>(CURSOR_TOP * PictureLayout::HEIGHT) == PictureLayout::CURSOR_TOP,
              "the cursor cell is where the picture has it");

WindowsBitmap* load(HINSTANCE module, WORD resource, int width, int height) {
    return new WindowsBitmap(MAKEINTRESOURCEA(resource), width, height, 0, module);
}

// Runs `body`; returns the report of what escaped it as a failure of
// `operation`, or "" when nothing did.
template <typename Body>
std::string failureOf(const std::string& operation, Body body) {
    try {
        body();
    } catch (const Exception& e) {
        return "Exception caught in '" + operation + "'.\n" + e.getMessage();
    } catch (...) {
        const std::string reason = SystemErrors::lastErrorText();
        return "... exception caught in '" + operation + "'.\n" + reason;
    }
    return std::string();
}

// Runs `body`; whatever escapes it is reported as a failure of `operation`.
template <typename Body>
void guarded(MessageReporter& reporter, const std::string& operation, Body body) {
    const std::string failure = failureOf(operation, body);
    if (!failure.empty()) {
        reporter.reportError(failure);
    }
}

int blockSize(int windowSize, unsigned int blocks) {
    return static_cast<int>(static_cast<unsigned int>(windowSize) / blocks);
}

// Points `slot` at `value` for as long as it lives.
template <typename T>
class Lent {
public:
    Lent(T*& slot, T& value)
        : _slot(slot) {
        _slot = &value;
    }
    ~Lent() { _slot = nullptr; }
    Lent(const Lent&) = delete;
    Lent& operator=(const Lent&) = delete;

private:
    T*& _slot;
};

} // namespace

const char* const PlovixsaverImpl::NOTICE =
    "Sablewick Screensaver by Brannix.\nThis screen saver has no options that you can set.";

PlovixsaverImpl::PlovixsaverImpl(MessageReporter* reporter,
                                 windows::devices::display::DisplaySettings* display,
                                 ExitPolicy* exitPolicy, const std::string& title,
                                 const std::string& className, HINSTANCE pictures)
    : _reporter(reporter)
    , _display(display)
    , _exitPolicy(exitPolicy)
    , _title(title)
    , _className(className)
    , _pictures(pictures)
    , _done(false)
    , _preview(0)
    , _bitmap(nullptr)
    , _cursor(nullptr)
    , _nocursor(nullptr)
    , _cursorVisible(false)
    , _covers(nullptr)
    , _coversStale(false)
    , _coverFailureRecorded(false)
    , _runWindow(nullptr) {}

// NOLINTNEXTLINE(bugprone-exception-escape): passes on a picture not released
PlovixsaverImpl::~PlovixsaverImpl() noexcept(false) {
    // Every picture is released even when an earlier one fails; the first
    // failure is passed on afterwards, unless that would end the program.
    std::string failure;
    for (WindowsBitmap** picture : {&_bitmap, &_cursor, &_nocursor}) {
        try {
            delete *picture;
        } catch (const WindowsBitmapException& e) {
            if (failure.empty()) {
                failure = e.getMessage();
            }
        }
        *picture = nullptr;
    }
    if (failure.empty()) {
        return;
    }
    if (std::uncaught_exceptions() > 0) {
        PLOVIX_CHECK(false);
        return;
    }
    throw WindowsBitmapException(failure);
}

void PlovixsaverImpl::configure(HWND) {
    _reporter->reportInformation(NOTICE);
}

void PlovixsaverImpl::runScreensaver() {
    guarded(*_reporter, "runScreensaver", [this] {
        const std::string prefix = "Exception caught in 'runScreensaver'.\n";
        DEVMODEA wanted = {};
        _display->getDisplaySetting(&wanted, ENUM_CURRENT_SETTINGS, nullptr);
        wanted.dmPelsWidth = FULL_SCREEN_WIDTH;
        wanted.dmPelsHeight = FULL_SCREEN_HEIGHT;
        // From here on the user's mode comes back on every way out, after the
        // pointer and the window are gone and before anything is reported.
        DisplayModeChange fullScreen(*_display, wanted, *_reporter, prefix);
        std::string runFailure;
        try {
            WindowXImpl window(nullptr);
            window.create(WindowParameters{makeWindowClass(), GetSystemMetrics(SM_CXSCREEN),
                                           GetSystemMetrics(SM_CYSCREEN), FULL_SCREEN_STYLE,
                                           FULL_SCREEN_EX_STYLE, _title, nullptr, true});
            window.addMessageListener(this);
            MonitorCovers covers(*_display, *this, makeWindowClass(), _title);
            const Lent<MonitorCovers> lent(_covers, covers);
            const HiddenCursor hidden;
            _preview = 0;
            runFailure = _run(window);
        } catch (const Exception& e) {
            runFailure = prefix + e.getMessage();
        }
        _takeMessageFailure(runFailure);
        // Both failures are shown, the run's first.
        std::string restoreFailure;
        try {
            fullScreen.restore();
        } catch (const Exception& e) {
            restoreFailure = prefix + e.getMessage();
        }
        for (const std::string* failure : {&runFailure, &restoreFailure}) {
            if (!failure->empty()) {
                _reporter->reportError(*failure);
            }
        }
    });
}

void PlovixsaverImpl::runPreview(HWND parent) {
    guarded(*_reporter, "runPreview", [this, parent] {
        // Only a window can hold the preview, and the special handles are
        // none: under HWND_MESSAGE the child would be a message-only window
        // that nothing ever closes, a saver running unseen until logoff.
        // The desktop window is a window, but a child filling it is a second
        // desktop over the user's that nothing closes either.
        if (IsWindow(parent) == FALSE || parent == GetDesktopWindow()) {
            throw WindowException("Could not show the preview using 'IsWindow'.\nParent: " +
                                  util::handleToString(parent) + "\n" +
                                  SystemErrors::map(ERROR_INVALID_WINDOW_HANDLE));
        }
        // A parent that goes now gives no size; creating the child then
        // fails and says why.
        RECT rect = {0, 0, 0, 0};
        if (GetWindowRect(parent, &rect) == 0) {
            rect = RECT{0, 0, 0, 0};
        }
        std::string runFailure;
        {
            WindowXImpl window(nullptr);
            window.create(WindowParameters{makeWindowClass(), rect.right - rect.left,
                                           rect.bottom - rect.top, PREVIEW_STYLE, PREVIEW_EX_STYLE,
                                           _title, parent, true});
            window.addMessageListener(this);
            _preview = 1;
            runFailure = _run(window);
        }
        _takeMessageFailure(runFailure);
        if (!runFailure.empty()) {
            _reporter->reportError(runFailure);
        }
    });
}

template <typename Step>
void PlovixsaverImpl::_coverStep(Step step) {
    try {
        if (step()) {
            _coverFailureRecorded = false;
        }
    } catch (const Exception& e) {
        if (!_coverFailureRecorded) {
            _coverFailureRecorded = true;
            const std::string report =
                "The other monitors' covers stay as they are until the next blink.\n" +
                e.getMessage();
            util::assertionFailed(report.c_str(), __FILE__, __LINE__);
        }
    }
}

std::string PlovixsaverImpl::_run(Window& window) {
    try {
        _replace(_bitmap, load(_pictures, PICTURE, window.getWidth(), window.getHeight()));
        _replace(_cursor, load(_pictures, CURSOR_BLOCK, blockSize(window.getWidth(), BLOCKS_ACROSS),
                               blockSize(window.getHeight(), BLOCKS_DOWN)));
        _replace(_nocursor,
                 load(_pictures, EMPTY_BLOCK, blockSize(window.getWidth(), BLOCKS_ACROSS),
                      blockSize(window.getHeight(), BLOCKS_DOWN)));
        _runWindow = window.getHandle();
        // The other monitors are covered once the pictures are there, a
        // failure ending the run, and again whenever their layout changed.
        _coversStale = true;
        _coverFailureRecorded = false;
        _updateCovers();
        _exitPolicy->reset();
        startBlinkTimer(_runWindow, BLINK_TIMER, BLINK_PERIOD_MS);
        // Sleeps between messages, so an idle run wakes only for the blink
        // and for input.
        while (!_done) {
            _coverStep([this] { return _updateCovers(); });
            window.processMessage();
            if (!_done && !_coversStale) {
                window.waitForMessage();
            }
        }
    } catch (const Exception& e) {
        return "Exception caught in: PlovixsaverImpl::_run.\n" + e.getMessage();
    }
    return std::string();
}

bool PlovixsaverImpl::_updateCovers() {
    if (!_coversStale) {
        return false;
    }
    _coversStale = false;
    if (_covers == nullptr) {
        return false;
    }
    RECT own = {};
    GetWindowRect(_runWindow, &own);
    _covers->update(own);
    return true;
}

void PlovixsaverImpl::_replace(WindowsBitmap*& slot, WindowsBitmap* picture) {
    WindowsBitmap* previous = slot;
    slot = picture;
    delete previous;
}

WNDCLASSEXA PlovixsaverImpl::makeWindowClass() const {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = nullptr;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = nullptr;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = _className.c_str();
    windowClass.hIconSm = nullptr;
    return windowClass;
}

RECT PlovixsaverImpl::_cursorRect() const {
    const double width = _bitmap->getWidth();
    const double height = _bitmap->getHeight();
    RECT rect;
    rect.left = static_cast<LONG>(CURSOR_LEFT * width);
    rect.top = static_cast<LONG>(CURSOR_TOP * height);
    rect.right = static_cast<LONG>(_cursor->getWidth() + CURSOR_LEFT * width);
    rect.bottom = static_cast<LONG>(_cursor->getHeight() + CURSOR_TOP * height);
    return rect;
}

LRESULT PlovixsaverImpl::windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::optional<LRESULT> answer;
    const std::string failure =
        failureOf("windowCallback", [&] { answer = _onMessage(window, message, wParam); });
    if (!failure.empty()) {
        // A box shown from here would sit under the top-most window with the
        // pointer hidden, and a failure that repeats would stack boxes: the
        // run ends instead and reports it once the screen is back.
        _done = true;
        if (_messageFailure.empty()) {
            _messageFailure = failure;
        }
    }
    return answer ? *answer : DefWindowProcA(window, message, wParam, lParam);
}

std::optional<LRESULT> PlovixsaverImpl::_onMessage(HWND window, UINT message, WPARAM wParam) {
    _askExitRule(message, wParam);
    if (message == WM_DISPLAYCHANGE) {
        _onDisplayChange();
    }
    if (message == WM_SETCURSOR) {
        // No pointer over the picture.
        return 0;
    }
    const MonitorLayout::Cover* cover = _covers != nullptr ? _covers->find(window) : nullptr;
    if (cover != nullptr && message == WM_MOUSEACTIVATE) {
        // A click there must not take activation from the run's window.
        return MA_NOACTIVATE;
    }
    PLOVIX_CHECK(_cursor);
    PLOVIX_CHECK(_nocursor);
    if (_bitmap == nullptr || _cursor == nullptr || _nocursor == nullptr) {
        // Messages before the pictures are loaded get the default handling.
        return std::nullopt;
    }
    switch (message) {
    case WM_TIMER:
        // The blink's timer is the run's window's alone.
        if (cover == nullptr) {
            _onTimer(window);
        }
        break;
    case WM_ERASEBKGND:
        // Never erased: the picture covers it all, and a blink must not flicker.
        return 1;
    case WM_PAINT:
        if (cover != nullptr) {
            _onCoverPaint(window, *cover);
        } else {
            _onPaint(window);
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

void PlovixsaverImpl::_askExitRule(UINT message, WPARAM wParam) {
    // The exit rule is asked in a full-screen run only.
    if ((_preview == 0 && _exitPolicy->shouldExit(message, wParam)) || message == WM_CLOSE ||
        message == WM_DESTROY) {
        _done = true;
    }
}

void PlovixsaverImpl::_onDisplayChange() {
    // A monitor came, went, moved or changed its mode: the loop covers the
    // others anew.
    if (_covers != nullptr) {
        _coversStale = true;
    }
}

void PlovixsaverImpl::_onTimer(HWND window) {
    const RECT cursor = _cursorRect();
    InvalidateRect(window, &cursor, FALSE);
    if (_covers != nullptr) {
        // Blinking the covers is a step of theirs: a picture whose size
        // cannot be read for a moment must not end the run. The run's own
        // window is about to paint the block it shows next.
        _coverStep([this] {
            _coverPainter().blink(*_covers, _cursorVisible ? *_cursor : *_nocursor);
            return false;
        });
        // A new layout is covered anew by the loop; covers that stay are
        // put back over any window that came over them.
        _coverStep([this] {
            if (_covers->changed()) {
                _coversStale = true;
                return false;
            }
            _covers->keepOnTop();
            return true;
        });
    }
    startBlinkTimer(window, BLINK_TIMER, BLINK_PERIOD_MS);
}

void PlovixsaverImpl::_takeMessageFailure(std::string& runFailure) {
    if (runFailure.empty()) {
        runFailure = _messageFailure;
    }
    _messageFailure.clear();
}

void PlovixsaverImpl::_onPaint(HWND window) {
    {
        const PaintContext painting(window);
        const HDC dc = painting.deviceContext();
        if (dc == nullptr) {
            return;
        }
        const PAINTSTRUCT& ps = painting.paint();
        PLOVIX_CHECK(dc == ps.hdc);
        try {
            PLOVIX_CHECK(_bitmap);
            const RECT cursor = _cursorRect();
            // A blink invalidates exactly the cursor cell; anything else was
            // uncovered or resized and needs the whole picture.
            if (!EqualRect(&ps.rcPaint, &cursor)) {
                _bitmap->draw(dc, 0, 0, _bitmap->getWidth(), _bitmap->getHeight(), 0, 0, SRCCOPY);
            }
            WindowsBitmap* block = _cursorVisible ? _cursor : _nocursor;
            block->draw(dc, cursor.left, cursor.top, block->getWidth(), block->getHeight(), 0, 0,
                        SRCCOPY);
        } catch (const WindowsBitmapException&) {
            // The next paint tries again.
        }
    }
    _cursorVisible = !_cursorVisible;
}

bool PlovixsaverImpl::_coverShowsCursor() const {
    // Every paint of the run's own window flips the blink, so a cover shows
    // the block that window shows, or is about to show when its paint is
    // still due: then the covers blink in step whichever window paints first.
    const bool due = GetUpdateRect(_runWindow, nullptr, FALSE) != 0;
    return due ? _cursorVisible : !_cursorVisible;
}

CoverPainter PlovixsaverImpl::_coverPainter() const {
    return CoverPainter(*_bitmap, _cursorRect());
}

void PlovixsaverImpl::_onCoverPaint(HWND window, const MonitorLayout::Cover& cover) {
    const PaintContext painting(window);
    if (painting.deviceContext() == nullptr) {
        return;
    }
    try {
        _coverPainter().paint(painting, cover, _coverShowsCursor() ? *_cursor : *_nocursor);
    } catch (const WindowsBitmapException&) {
        // The next paint tries again.
    }
}

void PlovixsaverImpl::startBlinkTimer(HWND window, UINT_PTR timer, UINT periodMs) {
    const UINT_PTR timerRet = SetTimer(window, timer, periodMs, nullptr);
    PLOVIX_CHECK(timerRet);
}

} // namespace app
