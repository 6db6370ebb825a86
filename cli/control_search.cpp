#include "cli/control_search.h"

#include <new>

namespace {

std::wstring Lowered(std::wstring text)
{
    if (!text.empty())
        CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

struct TopLevelSearch {
    const std::wstring* titlePart;
    std::vector<HWND> found;
    bool failed;
};

// No exception may leave a system callback: a failure ends the walk, and the
// caller sees it.
BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context)
{
    TopLevelSearch& search = *reinterpret_cast<TopLevelSearch*>(context);
    try {
        if (IsWindowVisible(window) && ContainsIgnoringCase(WindowTitle(window), *search.titlePart))
            search.found.push_back(window);
        return TRUE;
    } catch (...) {
        search.failed = true;
        return FALSE;
    }
}

struct ChildSearch {
    std::vector<HWND> found;
    bool failed;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM context)
{
    ChildSearch& search = *reinterpret_cast<ChildSearch*>(context);
    try {
        search.found.push_back(window);
        return TRUE;
    } catch (...) {
        search.failed = true;
        return FALSE;
    }
}

}  // namespace

const wchar_t* ScriptKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::listBox:
        return L"listbox";
    case ControlKind::comboBox:
    case ControlKind::comboBoxEx:
        return L"combobox";
    case ControlKind::listView:
        return L"listview";
    case ControlKind::treeView:
        return L"treeview";
    case ControlKind::unknown:
        break;
    }
    return nullptr;
}

// A caption as the system keeps it, of whatever length. GetWindowText sends
// nothing to a window of another program (it reads the caption the system
// keeps), so a hung program cannot hold the search; GetWindowTextLength is
// documented only for windows of the calling process, so the buffer grows
// until the caption fits instead.
std::wstring WindowTitle(HWND window)
{
    for (int room = 256;; room *= 4) {
        std::wstring title(static_cast<std::size_t>(room), L'\0');
        const int copied = GetWindowTextW(window, &title[0], room);
        if (copied < room - 1 || room >= 65536) {
            title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
            return title;
        }
    }
}

std::wstring ClassNameOf(HWND window)
{
    // Class names are at most 256 characters.
    wchar_t name[257] = {};
    const int length = GetClassNameW(window, name, 257);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool ContainsIgnoringCase(const std::wstring& text, const std::wstring& part)
{
    return part.empty() || Lowered(text).find(Lowered(part)) != std::wstring::npos;
}

std::vector<HWND> VisibleTopLevelWindows(const std::wstring& titlePart)
{
    TopLevelSearch search{&titlePart, {}, false};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.failed)
        throw std::bad_alloc();
    return search.found;
}

std::vector<ReadableControl> ReadableControlsOf(HWND top, UINT timeout)
{
    ChildSearch search{{}, false};
    EnumChildWindows(top, &CollectChild, reinterpret_cast<LPARAM>(&search));
    if (search.failed)
        throw std::bad_alloc();
    std::vector<ReadableControl> readable;
    for (HWND child : search.found) {
        const ControlKind kind = RecogniseControl(child, timeout);
        if (kind != ControlKind::unknown)
            readable.push_back({child, kind});
    }
    return readable;
}

bool ControlIsNamed(const ReadableControl& control, const std::wstring& name)
{
    const std::wstring wanted = Lowered(name);
    return wanted == ScriptKindName(control.kind) || wanted == Lowered(ClassNameOf(control.window));
}
