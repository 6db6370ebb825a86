// The command line of quarvel-read, taken apart without touching any window:
// what to read, how to write it, and how long to wait for each answer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "readers/read_limits.h"

enum class Target {
    window,   // a handle given as it is
    point,    // the window under a screen point
    find,     // a control found by its window's title
    list,     // no reading: the readable controls
    help,
    version,
};

enum class OutputFormat { text, csv, json };

struct Request {
    Target target = Target::window;
    // Window handles carry 32 significant bits on every platform.
    unsigned long handle = 0;
    long x = 0;
    long y = 0;
    std::wstring title;      // --find's, or --list's filter (empty: every window)
    std::wstring className;  // --class: a kind or a class name; empty for any
    unsigned long nth = 1;
    bool countOnly = false;
    OutputFormat format = OutputFormat::text;
    UINT timeout = kListReplyTimeout;
    bool utf16 = false;
};

struct ParsedArguments {
    Request request;
    std::wstring error;  // one line when the command line is wrong; empty otherwise
};

// The arguments after the program's name.
ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments);

// 0x1234 as the dialog shows it, or decimal; false for anything else.
bool ParseHandle(const std::wstring& text, unsigned long& handle);
