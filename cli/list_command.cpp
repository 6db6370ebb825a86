#include "cli/list_command.h"

#include <memory>

#include "cli/control_search.h"
#include "readers/reader_choice.h"
#include "readers/tabbed_lines.h"

namespace {

// Owner-drawn lists without text have a count all the same.
std::wstring CountField(HWND control, UINT timeout)
{
    const CountReport report = ReaderFor(control, timeout)->Count();
    const bool counted = report.problem == CountProblem::none || report.problem == CountProblem::noText;
    return counted && report.count >= 0 ? std::to_wstring(report.count) : L"-";
}

}  // namespace

Outcome ListControls(const Request& request)
{
    Outcome outcome;
    for (HWND top : VisibleTopLevelWindows(request.title)) {
        const std::wstring title = WindowTitle(top);
        for (const ReadableControl& control : ReadableControlsOf(top, request.timeout)) {
            const std::wstring fields[] = {HandleText(control.window), ScriptKindName(control.kind),
                                           CountField(control.window, request.timeout),
                                           ClassNameOf(control.window), title};
            AppendRow(outcome.output, fields, 5);
        }
    }
    if (outcome.output.empty())
        return Failure(kExitNotFound, request.title.empty()
                                          ? L"no readable list in any visible window"
                                          : L"no readable list in a visible window whose title holds \"" +
                                                request.title + L"\"");
    return outcome;
}
