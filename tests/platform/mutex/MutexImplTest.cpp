#include "platform/mutex/MutexImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/mutex/MutexException.h"

namespace {

using platform::mutex::MutexException;
using platform::mutex::MutexImpl;

// Whether another thread could take the system mutex right now.
bool isFreeForOthers(MutexImpl& mutex) {
    bool free = false;
    std::thread other([&] {
        free = WaitForSingleObject(mutex.getHandle(), 0) == WAIT_OBJECT_0;
        if (free) {
            ReleaseMutex(mutex.getHandle());
        }
    });
    other.join();
    return free;
}

// The message mapper locks again inside its own lock.
TEST(MutexImplTest, IsReentrantAndRefusesAnUnlockTooMany) {
    MutexImpl mutex;
    mutex.lock();
    mutex.lock();
    mutex.unlock();
    EXPECT_FALSE(isFreeForOthers(mutex));
    mutex.unlock();
    EXPECT_TRUE(isFreeForOthers(mutex));
    EXPECT_THROW(mutex.unlock(), MutexException);
    EXPECT_TRUE(isFreeForOthers(mutex));
}

} // namespace
