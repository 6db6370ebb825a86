// What one command of quarvel-read gives: its exit status, the text for
// standard output, and the line for standard error that says why when it is
// not the whole list.
#pragma once

#include <windows.h>

#include <string>

#include "cli/exit_status.h"

struct Outcome {
    int status = kExitRead;
    std::wstring output;
    std::wstring error;
};

inline Outcome Failure(int status, const std::wstring& why)
{
    Outcome outcome;
    outcome.status = status;
    outcome.error = why;
    return outcome;
}

// As the dialog shows a handle: 0x1234. Window handles carry 32 significant
// bits on every platform.
inline std::wstring HandleText(HWND window)
{
    wchar_t text[16] = {};
    wsprintfW(text, L"0x%x", static_cast<unsigned int>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}
