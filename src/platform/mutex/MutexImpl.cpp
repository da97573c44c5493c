#include "platform/mutex/MutexImpl.h"

#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "platform/mutex/MutexException.h"
#include "util/Assertion.h"
#include "util/Helpers.h"

namespace platform {
namespace mutex {

using platform::errorresources::SystemErrors;

MutexImpl::MutexImpl()
    : _mutexHandle(CreateMutexA(nullptr, FALSE, nullptr))
    , _lockingThreadId(0)
    , _lockCount(0) {
    if (!_mutexHandle) {
        SystemErrors::throwLastError<MutexException>(
            [](const std::string& reason) { return "Error creating the mutex. " + reason; });
    }
}

MutexImpl::MutexImpl(const std::nothrow_t&)
    : _mutexHandle(CreateMutexA(nullptr, FALSE, nullptr))
    , _lockingThreadId(0)
    , _lockCount(0) {
    if (!_mutexHandle) {
        _creationFailure = "Error creating the mutex. " + SystemErrors::lastErrorText();
    }
    PLOVIX_CHECK(_mutexHandle);
}

MutexImpl::~MutexImpl() {
    PLOVIX_CHECK(_lockCount == 0);
}

void MutexImpl::_close(HANDLE mutex) {
    if (CloseHandle(mutex) == 0) {
        PLOVIX_CHECK(false);
    }
}

void MutexImpl::lock() {
    if (!_mutexHandle) {
        throw MutexException(_creationFailure);
    }
    const DWORD result = WaitForSingleObject(_mutexHandle.get(), INFINITE);
    if (result != WAIT_OBJECT_0) {
        const std::string text = SystemErrors::lastErrorText();
        if (result == WAIT_ABANDONED) {
            // The wait made this thread the owner of a mutex whose previous
            // owner died; give it back so the system's count keeps matching
            // ours and other threads are not locked out for good.
            ReleaseMutex(_mutexHandle.get());
        }
        throw MutexException("Error locking the mutex: " + text);
    }
    _lockingThreadId = GetCurrentThreadId();
    ++_lockCount;
}

void MutexImpl::unlock() {
    const DWORD caller = GetCurrentThreadId();
    const DWORD owner = _lockingThreadId;
    if (owner != caller) {
        throw MutexException(
            "Error unlocking the mutex. The thread calling unlock() was not the thread that "
            "lock()ed the mutex.\nThe thread that locked the mutex has id: " +
            util::numberToString(static_cast<unsigned int>(owner)) +
            "\nThe thread unlocking has id: " +
            util::numberToString(static_cast<unsigned int>(caller)));
    }
    --_lockCount;
    if (_lockCount == 0) {
        _lockingThreadId = 0;
    }
    if (ReleaseMutex(_mutexHandle.get()) == 0) {
        SystemErrors::throwLastError<MutexException>(
            [](const std::string& reason) { return "Error releasing the mutex: " + reason; });
    }
}

HANDLE MutexImpl::getHandle() {
    return _mutexHandle.get();
}

} // namespace mutex
} // namespace platform
