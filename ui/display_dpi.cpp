#include "ui/display_dpi.h"

#include "ui/system_library.h"

namespace {

// Values of DPI_AWARENESS_CONTEXT, which older headers do not declare.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(LONG_PTR(-4));  // Windows 10 1703 on
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(LONG_PTR(-3));    // Windows 10 1607 on

}  // namespace

PerMonitorDpiScope::PerMonitorDpiScope()
{
    const auto set =
        Lookup<scoped_detail::ThreadDpiSetter>(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext");
    if (!set)
        return;
    context = ScopedThreadDpiContext(set, kPerMonitorAwareV2);
    if (!context)
        context = ScopedThreadDpiContext(set, kPerMonitorAware);
}

UINT MonitorDpi(HMONITOR monitor)
{
    const LibraryHandle shcore = SystemLibrary(L"shcore.dll");
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    const auto query = Lookup<DpiForMonitor>(shcore.Get(), "GetDpiForMonitor");
    const int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the scale the user chose
    UINT x = 0;
    UINT y = 0;
    if (monitor && query && SUCCEEDED(query(monitor, effectiveDpi, &x, &y)) && y > 0)
        return y;
    return SystemDpi();
}

UINT SystemDpi()
{
    ScopedWindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    return dpi > 0 ? UINT(dpi) : 96u;
}
