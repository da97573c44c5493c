#include "windows/graphics/WindowsBitmap.h"

#include <exception>
#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "util/Assertion.h"
#include "util/Helpers.h"
#include "windows/graphics/WindowDeviceContext.h"
#include "windows/graphics/WindowsBitmapException.h"

namespace windows {
namespace graphics {

using platform::errorresources::SystemErrors;

namespace {

// A device context's stretching mode, set for as long as it lives.
class StretchMode {
public:
    StretchMode(HDC context, int mode)
        : _context(context)
        , _previous(SetStretchBltMode(context, mode)) {}
    ~StretchMode() {
        if (_previous != 0) {
            SetStretchBltMode(_context, _previous);
        }
    }
    StretchMode(const StretchMode&) = delete;
    StretchMode& operator=(const StretchMode&) = delete;

private:
    HDC _context;
    int _previous;
};

} // namespace

WindowsBitmap::WindowsBitmap(const char* resource, int width, int height, UINT loadFlags,
                             HINSTANCE module)
    : _deviceContext(nullptr)
    , _bitmap(nullptr)
    , _previousObject(nullptr)
    , _uncaughtAtConstruction(std::uncaught_exceptions()) {
    _bitmap =
        static_cast<HBITMAP>(LoadImageA(module != nullptr ? module : GetModuleHandleA(nullptr),
                                        resource, IMAGE_BITMAP, width, height, loadFlags));
    if (_bitmap == nullptr) {
        SystemErrors::throwLastError<WindowsBitmapException>([](const std::string& reason) {
            return "Could not load bitmap using 'LoadImage'.\n" + reason;
        });
    }
    const char* failure = nullptr;
    {
        // The screen's, for as long as a compatible one is made.
        const WindowDeviceContext screen(nullptr);
        if (screen.deviceContext() == nullptr) {
            failure = "Couldn't get the screens devicecontext.";
        } else {
            _deviceContext = CreateCompatibleDC(screen.deviceContext());
            if (_deviceContext == nullptr) {
                failure = "Couldn't create a compatible devicecontext (with screen).";
            }
        }
    }
    if (failure == nullptr) {
        _previousObject = SelectObject(_deviceContext, _bitmap);
        if (_previousObject == nullptr) {
            failure = "Error when selecting object. The selected object is not a region.";
        }
    }
    if (failure != nullptr) {
        // The destructor will not run for an object that never was, so what
        // was obtained so far is given back here.
        PLOVIX_CHECK(_release() == nullptr);
        throw WindowsBitmapException(failure);
    }
}

// NOLINTNEXTLINE(bugprone-exception-escape): passes on a failed release
WindowsBitmap::~WindowsBitmap() noexcept(false) {
    const char* failure = _release();
    if (failure == nullptr) {
        return;
    }
    if (std::uncaught_exceptions() > _uncaughtAtConstruction) {
        // Throwing now would end the program.
        PLOVIX_CHECK(false);
        return;
    }
    throw WindowsBitmapException(failure);
}

const char* WindowsBitmap::_release() noexcept {
    // Everything is given back even when a step fails; the first failure is
    // the one reported.
    const char* failure = nullptr;
    if (_previousObject != nullptr) {
        SelectObject(_deviceContext, _previousObject);
        _previousObject = nullptr;
    }
    if (_bitmap != nullptr) {
        if (DeleteObject(_bitmap) == 0) {
            failure = "Error deleting the bitmap object.";
        }
        _bitmap = nullptr;
    }
    if (_deviceContext != nullptr) {
        if (DeleteDC(_deviceContext) == 0 && failure == nullptr) {
            failure = "Error deleting the device context.";
        }
        _deviceContext = nullptr;
    }
    return failure;
}

BITMAP WindowsBitmap::_getInfo() {
    BITMAP record = {};
    if (GetObjectA(_bitmap, sizeof(BITMAP), &record) == 0) {
        throw WindowsBitmapException(
            "Error when getting the bitmap object (GetObject) in WindowsBitmap::_getInfo().");
    }
    return record;
}

int WindowsBitmap::getWidth() {
    return static_cast<int>(_getInfo().bmWidth);
}

int WindowsBitmap::getHeight() {
    return static_cast<int>(_getInfo().bmHeight);
}

void WindowsBitmap::draw(HDC destination, int x, int y, int width, int height, int sourceX,
                         int sourceY, DWORD rasterOperation) {
    if (BitBlt(destination, x, y, width, height, _deviceContext, sourceX, sourceY,
               rasterOperation) != 0) {
        return;
    }
    SystemErrors::throwLastError<WindowsBitmapException>([&](const std::string& reason) {
        return "Error when bit blitting using 'BitBlt'.\ndestination: " +
               util::handleToString(destination) +
               "\nsource: " + util::handleToString(_deviceContext) + "\n" + reason;
    });
}

void WindowsBitmap::stretch(HDC destination, int x, int y, int width, int height) {
    const BITMAP info = _getInfo();
    // Whole pixels, never blended; the mode is put back after the error is read.
    const StretchMode wholePixels(destination, COLORONCOLOR);
    if (StretchBlt(destination, x, y, width, height, _deviceContext, 0, 0,
                   static_cast<int>(info.bmWidth), static_cast<int>(info.bmHeight), SRCCOPY) != 0) {
        return;
    }
    SystemErrors::throwLastError<WindowsBitmapException>([&](const std::string& reason) {
        return "Error when stretching using 'StretchBlt'.\ndestination: " +
               util::handleToString(destination) +
               "\nsource: " + util::handleToString(_deviceContext) + "\n" + reason;
    });
}

HDC WindowsBitmap::getDeviceContext() {
    return _deviceContext;
}

} // namespace graphics
} // namespace windows
