#ifndef PLOVIX_PLATFORM_MUTEX_MUTEXIMPL_H
#define PLOVIX_PLATFORM_MUTEX_MUTEXIMPL_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <string>

#include "platform/handles/UniqueHandle.h"
#include "platform/mutex/HandleProvider.h"
#include "platform/mutex/Mutex.h"

namespace platform {
namespace mutex {

// A re-entrant lock over an unnamed system mutex that keeps its own account
// of who holds it and how often, so that an unlock from the wrong thread is
// refused with both threads named. Owns the mutex handle.
class MutexImpl : public Mutex, public HandleProvider {
public:
    // Throws MutexException when the system mutex cannot be created.
    MutexImpl();
    // For objects built before anything can show an error: a failed creation
    // is reported as a check, and every lock() then throws the MutexException
    // that creation would have thrown.
    explicit MutexImpl(const std::nothrow_t&);
    ~MutexImpl() override;

    MutexImpl(const MutexImpl&) = delete;
    MutexImpl& operator=(const MutexImpl&) = delete;

    void lock() override;
    void unlock() override;
    HANDLE getHandle() override;

private:
    // A mutex that cannot be closed is recorded as a failed check.
    static void _close(HANDLE mutex);

    platform::handles::UniqueHandle<HANDLE, &MutexImpl::_close> _mutexHandle;
    // Read by unlock() on whichever thread calls it.
    std::atomic<DWORD> _lockingThreadId;
    std::int32_t _lockCount;
    std::string _creationFailure;
};

} // namespace mutex
} // namespace platform

#endif
