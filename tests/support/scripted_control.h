// Real controls whose answers a test writes, for what Wine's controls never
// do: a handler sees every message first and answers those it takes; the rest
// go to the control itself. Also the list views and tree views the reader
// tests fill, on the control's own thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/control_thread.h"

namespace list_test {

inline ControlSetup ControlOf(const char* controlClass, DWORD style, std::function<void(HWND)> prepare = nullptr)
{
    ControlSetup setup;
    setup.controlClass = controlClass;
    setup.style = style;
    setup.prepare = std::move(prepare);
    return setup;
}

using Answers = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

namespace detail {
struct Script {
    Answers answers;
    WNDPROC control;
};
constexpr const wchar_t* kScriptProperty = L"QuarvelTestScript";

inline LRESULT CALLBACK ScriptedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* script = static_cast<Script*>(GetPropW(window, kScriptProperty));
    LRESULT result = 0;
    if (script->answers(message, wParam, lParam, result))
        return result;
    const WNDPROC control = script->control;
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kScriptProperty);
        delete script;
    }
    return CallWindowProcW(control, window, message, wParam, lParam);
}
}  // namespace detail

// On the control's thread.
inline void AnswerWith(HWND control, Answers answers)
{
    auto* script = new detail::Script{std::move(answers), nullptr};
    SetPropW(control, detail::kScriptProperty, script);
    script->control = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(detail::ScriptedProcedure)));
}

// A report view's columns and rows, cells given row by row.
inline void FillReport(HWND list, const std::vector<std::wstring>& titles,
                       const std::vector<std::vector<std::wstring>>& rows)
{
    for (size_t column = 0; column < titles.size(); ++column) {
        LVCOLUMNW header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.cx = 60;
        header.pszText = const_cast<wchar_t*>(titles[column].c_str());
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
    }
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = const_cast<wchar_t*>(rows[row][column].c_str());
            SendMessageW(list, column ? LVM_SETITEMTEXTW : LVM_INSERTITEMW, row, reinterpret_cast<LPARAM>(&item));
        }
    }
}

inline HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const wchar_t* text)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace list_test

namespace list_test {

// A class of the given name built on a system control, as toolkits build
// theirs; registered once.
inline void RegisterSuperclass(const wchar_t* base, const wchar_t* name)
{
    WNDCLASSW windowClass = {};
    GetClassInfoW(nullptr, base, &windowClass);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

}  // namespace list_test
