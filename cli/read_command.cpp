#include "cli/read_command.h"

#include <memory>
#include <string>

#include "cli/control_search.h"
#include "cli/csv_records.h"
#include "cli/json_document.h"
#include "cli/stop_request.h"
#include "readers/reader_choice.h"
#include "readers/sliced_read.h"
#include "readers/tabbed_lines.h"

namespace {

struct ReadResult {
    ReadEnd end = ReadEnd::complete;
    bool stopped = false;
};

// The whole read in one go: there is no window to keep answering, and the
// pace asks only whether Ctrl+C was pressed. What a reader throws (no memory)
// ends the read with what it had, as the dialog's does.
ReadResult ReadAll(ItemReader& reader, ItemSink& sink)
{
    ReadPace pace([] { return stopRequest.Asked(); });
    reader.SetPace(&pace);
    ReadResult result;
    try {
        while (reader.ReadNext(sink)) {
            if (pace.Held()) {
                result.stopped = true;
                break;
            }
        }
        result.end = reader.Ending();
    } catch (...) {
        result.end = ReadEnd::noMemory;
    }
    reader.SetPace(nullptr);
    return result;
}

std::wstring SilentSentence(const ItemReader& reader)
{
    const std::wstring kind = KindName(reader.Kind());
    if (reader.Expected() <= 0)
        return kind + L" did not answer";
    return kind + L" stopped answering after " + std::to_wstring(reader.Handled()) + L" of " +
           std::to_wstring(reader.Expected()) + L" items";
}

// The read's end as an exit status and the line that explains it; the output
// stays as read except for a 64-bit program's partial tree, which the dialog
// does not show either.
Outcome Concluded(ItemReader& reader, const ReadResult& result, std::wstring output)
{
    if (result.stopped)
        return Failure(kExitCutShort, L"read stopped");
    Outcome outcome;
    outcome.output = std::move(output);
    switch (result.end) {
    case ReadEnd::complete:
        return outcome;
    case ReadEnd::refused: {
        const CountReport report = reader.Count();
        return Failure(kExitUnreadable, report.problem == CountProblem::none
                                            ? KindName(reader.Kind()) + L": cannot be read"
                                            : CountSentence(report));
    }
    case ReadEnd::needs64Bit:
        return Failure(kExitUnreadable,
                       CutShortSentence(reader.Kind(), reader.Expected(), ReadEnd::needs64Bit));
    case ReadEnd::silent:
        outcome.error = SilentSentence(reader);
        break;
    case ReadEnd::limit:
    case ReadEnd::noMemory:
        outcome.error = CutShortSentence(reader.Kind(), reader.Expected(), result.end);
        break;
    }
    outcome.status = kExitCutShort;
    return outcome;
}

Outcome CountOf(ItemReader& reader)
{
    const CountReport report = reader.Count();
    if (report.problem != CountProblem::none)
        return Failure(kExitUnreadable, CountSentence(report));
    if (report.count < 0)
        return Failure(kExitCutShort, KindName(reader.Kind()) + L" did not answer");
    Outcome outcome;
    outcome.output = std::to_wstring(report.count) + L"\r\n";
    return outcome;
}

Outcome ContentsOf(ItemReader& reader, const ControlFacts& control, OutputFormat format)
{
    std::wstring text;
    TabbedLines lines(text);
    CsvRecords records(text);
    JsonDocument document;
    ItemSink* sinks[] = {&lines, &records, &document};
    const ReadResult result = ReadAll(reader, *sinks[static_cast<int>(format)]);
    if (format == OutputFormat::json)
        text = document.Document(control);
    return Concluded(reader, result, std::move(text));
}

}  // namespace

Outcome ReadWindow(HWND window, const Request& request)
{
    if (!window || !IsWindow(window))
        return Failure(kExitNotFound, L"no window " + HandleText(window));
    const ControlKind kind = RecogniseControl(window, request.timeout);
    if (kind == ControlKind::unknown)
        return Failure(kExitUnreadable,
                       HandleText(window) + L" is not a list control (class " + ClassNameOf(window) + L")");
    const std::unique_ptr<ItemReader> reader = ReaderFor(window, request.timeout);
    if (request.countOnly)
        return CountOf(*reader);
    return ContentsOf(*reader, {HandleText(window), ClassNameOf(window), ScriptKindName(kind)}, request.format);
}

Outcome ReadAtPoint(const Request& request)
{
    const POINT point = {request.x, request.y};
    const HWND window = WindowFromPoint(point);
    if (!window)
        return Failure(kExitNotFound,
                       L"no window at " + std::to_wstring(request.x) + L"," + std::to_wstring(request.y));
    return ReadWindow(window, request);
}

Outcome ReadFound(const Request& request)
{
    const std::vector<HWND> tops = VisibleTopLevelWindows(request.title);
    if (tops.empty())
        return Failure(kExitNotFound, L"no visible window whose title holds \"" + request.title + L"\"");
    unsigned long seen = 0;
    for (const ReadableControl& control : ReadableControlsOf(tops[0], request.timeout)) {
        if ((request.className.empty() || ControlIsNamed(control, request.className)) && ++seen == request.nth)
            return ReadWindow(control.window, request);
    }
    const std::wstring what = request.className.empty() ? L"readable control" : request.className;
    return Failure(kExitNotFound, L"no " + what + L" number " + std::to_wstring(request.nth) + L" in \"" +
                                      WindowTitle(tops[0]) + L"\" (" + HandleText(tops[0]) + L")");
}
