#include "ui/desktop_composition.h"

#include "ui/system_library.h"

namespace {

constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS

}  // namespace

bool VisibleFrameBounds(HWND window, RECT& bounds)
{
    const LibraryHandle dwm = SystemLibrary(L"dwmapi.dll");
    using Attribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    const auto query = Lookup<Attribute>(dwm.Get(), "DwmGetWindowAttribute");
    return query && SUCCEEDED(query(window, kExtendedFrameBounds, &bounds, sizeof bounds));
}

void WaitForComposition()
{
    const LibraryHandle dwm = SystemLibrary(L"dwmapi.dll");
    using Flush = HRESULT(WINAPI*)();
    if (const auto flush = Lookup<Flush>(dwm.Get(), "DwmFlush"))
        flush();
}
