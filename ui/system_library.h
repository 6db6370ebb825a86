// Functions of system libraries that Quarvel does not import: looked up at run
// time, from the system folder only, so that a library of the same name lying
// beside Quarvel (in a downloads folder, say) is never loaded in its place, and
// so that a function a system lacks leaves its question to an older answer.
#pragma once

#include <windows.h>

#include "app/scoped.h"

using LibraryHandle = Scoped<HandleTraits<HMODULE, &FreeLibrary>>;

// Without the system-folder search (Windows 7 before its update KB2533623)
// nothing is loaded: the caller answers as without the library.
inline LibraryHandle SystemLibrary(const wchar_t* name)
{
    return LibraryHandle(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

template <typename Function>
Function Lookup(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
