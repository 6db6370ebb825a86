#include "ui/window_text.h"

namespace {

// Read one unit past the limit: only the unit after the cut tells a pair cut
// in two from a lone half, which is kept (and shown as a replacement).
size_t UnitsToShow(const wchar_t* text, size_t length)
{
    if (length <= kShownWindowTextUnits)
        return length;
    const size_t last = kShownWindowTextUnits - 1;
    if (IS_SURROGATE_PAIR(text[last], text[last + 1]))
        return last;
    return kShownWindowTextUnits;
}

}  // namespace

std::wstring ShownWindowText(HWND window)
{
    wchar_t text[kShownWindowTextUnits + 2] = {};
    const int copied = GetWindowTextW(window, text, static_cast<int>(kShownWindowTextUnits + 2));
    if (copied <= 0)
        return std::wstring();
    return std::wstring(text, UnitsToShow(text, static_cast<size_t>(copied)));
}
