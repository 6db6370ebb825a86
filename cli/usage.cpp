#include "cli/usage.h"

// The build gives the version of res/quarvel.rc, the one the dialog shows.
#ifndef QUARVEL_VERSION
#define QUARVEL_VERSION "0"
#endif

std::wstring UsageText()
{
    return L"Usage:\r\n"
           L"  quarvel-read [options] WINDOW            read the items of that control (0x1234 or decimal)\r\n"
           L"  quarvel-read [options] --at X,Y          the window under that screen point\r\n"
           L"  quarvel-read [options] --find TITLE [--class NAME] [--nth N]\r\n"
           L"                                           the Nth readable control (of kind or class NAME)\r\n"
           L"                                           of the first visible window whose title holds TITLE\r\n"
           L"  quarvel-read --list [TITLE]              the readable controls: handle, kind, count, class, title\r\n"
           L"  quarvel-read --help | --version\r\n"
           L"Options:\r\n"
           L"  --count                 the number of items alone\r\n"
           L"  --format text|csv|json  text (default) as the dialog shows it, CSV records, or one JSON object\r\n"
           L"  --timeout MS            the longest wait for each answer (default 3000)\r\n"
           L"  --utf16                 UTF-16LE with a byte order mark instead of UTF-8 in a file or a pipe\r\n"
           L"Kinds: listbox, combobox, listview, treeview.\r\n"
           L"Exit status: 0 read whole, 1 no such window, 2 wrong usage, 3 cannot be read, 4 read cut short.\r\n";
}

std::wstring VersionText()
{
    const std::string version = QUARVEL_VERSION;
    return L"quarvel-read " + std::wstring(version.begin(), version.end()) + L"\r\n";
}
