// GoogleTest's customisation header, taking the place of its empty one when
// GoogleTest is built here from its sources. GoogleTest's own Notification
// waits on std::mutex and std::condition_variable, which libstdc++ lacks under
// the win32 thread model of MinGW-w64's GCC 12 (the model that keeps the
// threads library out of Quarvel.exe). Only GoogleTest's thread helper uses
// it; this one waits by yielding.
#ifndef QUARVEL_TESTS_GTEST_CUSTOM_PORT_H
#define QUARVEL_TESTS_GTEST_CUSTOM_PORT_H

#include <atomic>
#include <thread>

#if defined(__GLIBCXX__) && !defined(_GLIBCXX_HAS_GTHREADS)

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified.store(true); }
    void WaitForNotification()
    {
        while (!notified.load())
            std::this_thread::yield();
    }

private:
    std::atomic<bool> notified{false};
};

}  // namespace internal
}  // namespace testing

#endif
#endif
