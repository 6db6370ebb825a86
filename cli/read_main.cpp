// The console entry of quarvel-read. The arguments come as UTF-16 from the
// system, so that a title in any script finds its window; the runtime's own
// argument split would pass them through the code page.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/scoped.h"
#include "cli/arguments.h"
#include "cli/console_output.h"
#include "cli/list_command.h"
#include "cli/read_command.h"
#include "cli/stop_request.h"
#include "cli/usage.h"

namespace {

using ScopedArguments = Scoped<HandleTraits<HLOCAL, &LocalFree>>;

std::vector<std::wstring> Arguments()
{
    int count = 0;
    LPWSTR* given = CommandLineToArgvW(GetCommandLineW(), &count);
    const ScopedArguments owner(reinterpret_cast<HLOCAL>(given));
    std::vector<std::wstring> arguments;
    for (int i = 1; given && i < count; ++i)
        arguments.emplace_back(given[i]);
    return arguments;
}

Outcome Run(const ParsedArguments& parsed)
{
    const Request& request = parsed.request;
    Outcome outcome;
    if (!parsed.error.empty()) {
        outcome = Failure(kExitUsage, parsed.error);
        outcome.error += L"\r\n" + UsageText();
        return outcome;
    }
    switch (request.target) {
    case Target::help:
        outcome.output = UsageText();
        return outcome;
    case Target::version:
        outcome.output = VersionText();
        return outcome;
    case Target::list:
        return ListControls(request);
    case Target::point:
        return ReadAtPoint(request);
    case Target::find:
        return ReadFound(request);
    case Target::window:
        break;
    }
    return ReadWindow(reinterpret_cast<HWND>(static_cast<UINT_PTR>(request.handle)), request);
}

int Written(const Outcome& outcome, Encoding encoding)
{
    // After Ctrl+C the system ends the process; nothing more is to be said.
    if (stopRequest.Asked())
        Sleep(INFINITE);
    if (!outcome.output.empty())
        WriteText(STD_OUTPUT_HANDLE, outcome.output, encoding);
    if (!outcome.error.empty())
        WriteText(STD_ERROR_HANDLE, L"quarvel-read: " + outcome.error + L"\r\n", Encoding::utf8);
    return outcome.status;
}

}  // namespace

int main()
{
    stopRequest.Install();
    try {
        const ParsedArguments parsed = ParseArguments(Arguments());
        const Outcome outcome = Run(parsed);
        stopRequest.ReadEnded();
        return Written(outcome, parsed.request.utf16 ? Encoding::utf16 : Encoding::utf8);
    } catch (...) {
        stopRequest.ReadEnded();
        WriteText(STD_ERROR_HANDLE, L"quarvel-read: out of memory\r\n", Encoding::utf8);
        return kExitCutShort;
    }
}
