// One move-only owner for every system resource the program holds for a
// scope: a handle, a GDI object, a global block, a lock, a DC, memory in
// another process. A resource is described by a small traits type (what is
// held, what "nothing" is, how it is given back); Scoped does the rest, so a
// release cannot be forgotten on an early return and a copy cannot release
// twice.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class Scoped {
public:
    using Value = typename Traits::Value;

    Scoped() noexcept : value(Traits::Empty()) {}
    explicit Scoped(Value held) noexcept : value(held) {}
    ~Scoped() { Reset(); }

    Scoped(Scoped&& other) noexcept : value(other.Take()) {}
    Scoped& operator=(Scoped&& other) noexcept
    {
        if (this != &other)
            Reset(other.Take());
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    const Value& Get() const noexcept { return value; }
    bool IsSet() const noexcept { return Traits::IsSet(value); }
    explicit operator bool() const noexcept { return IsSet(); }

    // Hands the resource to a new owner (the clipboard, say), which gives it
    // back from then on.
    Value Take() noexcept { return std::exchange(value, Traits::Empty()); }

    void Reset(Value replacement = Traits::Empty()) noexcept
    {
        const Value old = std::exchange(value, replacement);
        if (Traits::IsSet(old))
            Traits::Release(old);
    }

private:
    Value value;
};

// A resource that is one value, given back by one call taking it.
template <typename T, auto ReleaseFunction>
struct HandleTraits {
    using Value = T;
    static Value Empty() noexcept { return nullptr; }
    static bool IsSet(Value held) noexcept { return held != nullptr; }
    static void Release(Value held) noexcept { ReleaseFunction(held); }
};

// A resource given back through the value it came from: the DC of a window,
// the lock of a block, the object a DC held before, memory in a process.
template <typename Source, typename T, auto ReleaseFunction>
struct PairTraits {
    struct Value {
        Source source;
        T held;
    };
    static Value Empty() noexcept { return Value{Source(), T()}; }
    static bool IsSet(const Value& pair) noexcept { return pair.held != T(); }
    static void Release(const Value& pair) noexcept { ReleaseFunction(pair.source, pair.held); }
};

namespace scoped_detail {
inline void ReleaseWindowDC(HWND window, HDC dc) { ReleaseDC(window, dc); }
inline void SelectBack(HDC dc, HGDIOBJ previous) { SelectObject(dc, previous); }
inline void UnlockGlobal(HGLOBAL block, void*) { GlobalUnlock(block); }
inline void UnlockLocal(HLOCAL block, void*) { LocalUnlock(block); }
inline void FreeInProcess(HANDLE process, void* address) { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
inline void CloseClipboardOf(HWND, bool) { CloseClipboard(); }
inline void LeaveSection(int, CRITICAL_SECTION* section) { LeaveCriticalSection(section); }
}  // namespace scoped_detail

using ScopedHandle = Scoped<HandleTraits<HANDLE, &CloseHandle>>;
using ScopedGlobal = Scoped<HandleTraits<HGLOBAL, &GlobalFree>>;
using ScopedLocal = Scoped<HandleTraits<HLOCAL, &LocalFree>>;
template <typename T>
using ScopedGdiObject = Scoped<HandleTraits<T, &DeleteObject>>;
using ScopedPen = ScopedGdiObject<HPEN>;
// Memory allocated in another process: VirtualAllocEx's address there.
using ScopedRemoteMemory = Scoped<PairTraits<HANDLE, void*, &scoped_detail::FreeInProcess>>;

// A window's whole DC (caption and frame included) until the end of the scope.
class ScopedWindowDC : public Scoped<PairTraits<HWND, HDC, &scoped_detail::ReleaseWindowDC>> {
public:
    explicit ScopedWindowDC(HWND window) : Scoped(Value{window, GetWindowDC(window)}) {}
    operator HDC() const { return Get().held; }
};

// Selects an object into a DC and selects the previous one back at the end.
class ScopedSelection : public Scoped<PairTraits<HDC, HGDIOBJ, &scoped_detail::SelectBack>> {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : Scoped(Value{dc, SelectObject(dc, object)}) {}
};

// A global block's address while locked; null when the lock failed.
class ScopedGlobalLock : public Scoped<PairTraits<HGLOBAL, void*, &scoped_detail::UnlockGlobal>> {
public:
    explicit ScopedGlobalLock(HGLOBAL block) : Scoped(Value{block, block ? GlobalLock(block) : nullptr}) {}
    void* Address() const { return Get().held; }
};

// A local block's address while locked; null when the lock failed.
class ScopedLocalLock : public Scoped<PairTraits<HLOCAL, void*, &scoped_detail::UnlockLocal>> {
public:
    explicit ScopedLocalLock(HLOCAL block) : Scoped(Value{block, block ? LocalLock(block) : nullptr}) {}
    void* Address() const { return Get().held; }
};

// The clipboard, open for the scope when OpenClipboard succeeded.
class ScopedClipboard : public Scoped<PairTraits<HWND, bool, &scoped_detail::CloseClipboardOf>> {
public:
    explicit ScopedClipboard(HWND owner) : Scoped(Value{owner, OpenClipboard(owner) != FALSE}) {}
};

// A critical section held for the scope.
class ScopedCriticalSection : public Scoped<PairTraits<int, CRITICAL_SECTION*, &scoped_detail::LeaveSection>> {
public:
    explicit ScopedCriticalSection(CRITICAL_SECTION& section)
        : Scoped(Value{0, (EnterCriticalSection(&section), &section)})
    {
    }
};

namespace scoped_detail {
inline void ReleaseVirtual(void* address) { VirtualFree(address, 0, MEM_RELEASE); }
}  // namespace scoped_detail

// Pages of this process's own address space from VirtualAlloc.
using ScopedVirtualMemory = Scoped<HandleTraits<void*, &scoped_detail::ReleaseVirtual>>;

// Other GDI and window resources, each given back by the call that ends it.
using ScopedMemoryDC = Scoped<HandleTraits<HDC, &DeleteDC>>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedWindow = Scoped<HandleTraits<HWND, &DestroyWindow>>;

namespace scoped_detail {
using ThreadDpiSetter = HANDLE(WINAPI*)(HANDLE);
inline void RestoreThreadDpi(ThreadDpiSetter set, HANDLE previous) { set(previous); }
}  // namespace scoped_detail

// The calling thread's DPI awareness context switched for the scope and put
// back at its end. The setter is looked up at run time (Windows 10 1607 on);
// without one, or for a context the system does not know, nothing changes.
class ScopedThreadDpiContext
    : public Scoped<PairTraits<scoped_detail::ThreadDpiSetter, HANDLE, &scoped_detail::RestoreThreadDpi>> {
public:
    ScopedThreadDpiContext() = default;
    ScopedThreadDpiContext(scoped_detail::ThreadDpiSetter set, HANDLE context)
        : Scoped(Value{set, set ? set(context) : nullptr})
    {
    }
};
