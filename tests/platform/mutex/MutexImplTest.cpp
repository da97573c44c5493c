#include "platform/mutex/MutexImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "platform/mutex/MutexException.h"
#include "platform/mutex/ScopedLock.h"
#include "support/ReportDirectory.h"
#include "support/Thrown.h"

namespace {

using platform::mutex::Mutex;
using platform::mutex::MutexException;
using platform::mutex::MutexImpl;
using platform::mutex::ScopedLock;

std::string unlockFailure(Mutex& mutex) {
    return support::thrown<MutexException>([&] { mutex.unlock(); });
}

std::string wrongThreadMessage(DWORD holder, DWORD caller) {
    return "Error unlocking the mutex. The thread calling unlock() was not the thread that "
           "lock()ed the mutex.\nThe thread that locked the mutex has id: " +
           std::to_string(holder) + "\nThe thread unlocking has id: " + std::to_string(caller);
}

// Whether another thread could take the system mutex right now.
bool isFreeForOthers(MutexImpl& mutex) {
    bool free = false;
    std::thread other([&] {
        const DWORD result = WaitForSingleObject(mutex.getHandle(), 0);
        free = result == WAIT_OBJECT_0;
        if (free) {
            ReleaseMutex(mutex.getHandle());
        }
    });
    other.join();
    return free;
}

TEST(MutexImplTest, IsReentrantAndOnlyItsHolderCanUnlock) {
    MutexImpl mutex;
    mutex.lock();
    mutex.lock();
    mutex.unlock();
    EXPECT_FALSE(isFreeForOthers(mutex));
    std::string failure;
    DWORD otherId = 0;
    std::thread other([&] {
        otherId = GetCurrentThreadId();
        failure = unlockFailure(mutex);
    });
    other.join();
    EXPECT_EQ(wrongThreadMessage(GetCurrentThreadId(), otherId), failure);
    EXPECT_FALSE(isFreeForOthers(mutex)); // the holder's lock is intact
    mutex.unlock();
    EXPECT_TRUE(isFreeForOthers(mutex));
    // Nobody holds it now, so a further unlock names holder 0.
    EXPECT_EQ(wrongThreadMessage(0, GetCurrentThreadId()), unlockFailure(mutex));
}

TEST(MutexImplTest, ScopedLockReleasesOnEveryWayOut) {
    MutexImpl mutex;
    {
        const ScopedLock lock(mutex);
        EXPECT_FALSE(isFreeForOthers(mutex));
    }
    EXPECT_TRUE(isFreeForOthers(mutex));
    try {
        const ScopedLock lock(mutex);
        throw std::runtime_error("leaving");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(isFreeForOthers(mutex));
}

TEST(MutexImplTest, DestroyingAHeldMutexReportsAndStillCloses) {
    support::ReportDirectory directory;
    HANDLE handle = nullptr;
    {
        MutexImpl mutex;
        handle = mutex.getHandle();
        mutex.lock();
    }
    DWORD flags = 0;
    // Asked before anything else can be given the same handle value.
    EXPECT_EQ(0, GetHandleInformation(handle, &flags));
    EXPECT_EQ(std::vector<std::string>{"_lockCount == 0"}, directory.failedChecks());
}

} // namespace
