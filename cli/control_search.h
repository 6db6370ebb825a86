// The windows a script names by their title rather than their handle: the
// visible top-level windows, and the controls inside them that Quarvel can
// read, in the order the system gives them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "readers/reader_choice.h"

// "listbox", "combobox" (the extended one too), "listview", "treeview"; null
// for a window that is not recognised as a list.
const wchar_t* ScriptKindName(ControlKind kind);

std::wstring WindowTitle(HWND window);
std::wstring ClassNameOf(HWND window);

// True when `part` is empty or `text` holds it, without regard to case.
bool ContainsIgnoringCase(const std::wstring& text, const std::wstring& part);

// The visible top-level windows whose title holds `titlePart`, in the
// system's order (topmost first).
std::vector<HWND> VisibleTopLevelWindows(const std::wstring& titlePart);

struct ReadableControl {
    HWND window;
    ControlKind kind;
};

// Every descendant of `top` recognised as a list control, in the order the
// system enumerates child windows; each may be asked one question.
std::vector<ReadableControl> ReadableControlsOf(HWND top, UINT timeout);

// `name` is a kind ("listview") or a class name, without regard to case.
bool ControlIsNamed(const ReadableControl& control, const std::wstring& name);
