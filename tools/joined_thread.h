// A thread for the tests and the benchmark: runs one function and is joined
// by its owner, at the latest when the owner ends. std::thread's part they
// use, on the system's threads: libstdc++ has no std::thread under the win32
// thread model that the builds use.
#pragma once

#include <windows.h>

#include <process.h>

#include <functional>
#include <utility>

#include "app/scoped.h"

class JoinedThread {
public:
    JoinedThread() = default;
    ~JoinedThread() { Join(); }
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;

    // False when no thread could be started.
    bool Start(std::function<void()> function)
    {
        Join();
        run = std::move(function);
        handle.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &JoinedThread::Main, this, 0, nullptr)));
        return handle.IsSet();
    }

    // Waits for the function to return.
    void Join()
    {
        if (handle)
            WaitForSingleObject(handle.Get(), INFINITE);
        handle.Reset();
    }

private:
    // An exception escaping the function ends the program, as from a std::thread.
    static unsigned WINAPI Main(void* self) noexcept
    {
        static_cast<JoinedThread*>(self)->run();
        return 0;
    }

    std::function<void()> run;
    ScopedHandle handle;
};
