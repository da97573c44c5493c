#ifndef PLOVIX_PLATFORM_HANDLES_UNIQUEHANDLE_H
#define PLOVIX_PLATFORM_HANDLES_UNIQUEHANDLE_H

#include <utility>

namespace platform {
namespace handles {

// What a handle holds when it holds nothing: null, for most of the system's
// handles.
template <typename Handle>
constexpr Handle noHandle() noexcept {
    return Handle();
}

// The one owner of a handle: `Close` gives it back when the owner goes or is
// handed another, unless it holds `Empty()`, the value the call that made it
// answers on failure (INVALID_HANDLE_VALUE for some kernel calls). Moving
// hands the handle on; copying is refused, as two owners would close it
// twice. A handle given back with a second value (a device context with its
// window) is a small struct whose == tells the empty one. `Close` is called
// with the handle alone and its answer is dropped: a release whose failure
// must be told is a function of the owner that tells it.
template <typename Handle, auto Close, Handle (*Empty)() = noHandle<Handle>>
class UniqueHandle {
public:
    UniqueHandle() noexcept
        : _handle(Empty()) {}
    explicit UniqueHandle(Handle handle) noexcept
        : _handle(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept
        : _handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return _handle; }
    explicit operator bool() const noexcept { return !(_handle == Empty()); }

    // Gives the handle up unclosed; the caller owns it.
    Handle release() noexcept { return std::exchange(_handle, Empty()); }
    // Closes the handle held, if any, and holds `handle` instead.
    void reset(Handle handle = Empty()) noexcept {
        const Handle previous = std::exchange(_handle, handle);
        if (!(previous == Empty())) {
            Close(previous);
        }
    }

private:
    Handle _handle;
};

} // namespace handles
} // namespace platform

#endif
