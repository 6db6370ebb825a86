// Measures what matters in Quarvel's speed, each figure against a yardstick
// taken in the same run:
//   - Get Contents on list boxes of another process, against the bare cost of
//     the same cross-process messages, and how soon the dialog answers input
//     while it reads;
//   - how soon the dialog answers input while it reads a list view whose
//     program answers every question after 20 ms, against 100 ms plus one
//     such answer;
//   - start-up to the visible dialog, against a minimal dialog program;
// (Memory and CPU time while idle are read from outside, by tools/run-bench.)
// Prints a Markdown table.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/message_loop.h"
#include "app/module.h"
#include "tools/child_process.h"
#include "tools/joined_thread.h"
#include "bench/clock.h"
#include "bench/list_box_fixture.h"
#include "bench/statistics.h"
#include "readers/reader_choice.h"
#include "readers/sliced_read.h"
#include "ui/contents_box.h"
#include "ui/main_dialog.h"
#include "res/resource.h"

namespace {

struct ReadFigures {
    double seconds;
    int textBytes;
    std::vector<double> inputDelays;  // seconds from posting a key to its retrieval
};

// A key posted to the dialog every 100 ms from another thread while it reads,
// as a user pressing keys would; its delay is taken when the loop retrieves
// it, before the dialog sees it. F24 does nothing in the dialog.
class KeyPresser {
public:
    explicit KeyPresser(HWND dialog)
    {
        worker.Start([this, dialog] {
            while (!stop) {
                const int sequence = posted++;
                postedAt[sequence % kSlots] = Now();
                PostMessageA(dialog, WM_KEYDOWN, VK_F24, sequence);
                Sleep(100);
            }
        });
    }
    ~KeyPresser()
    {
        stop = true;
        worker.Join();
        // Keys still queued would be taken for the next reader's.
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
        }
    }
    void Retrieved(const MSG& message)
    {
        if (message.message == WM_KEYDOWN && message.wParam == VK_F24)
            delays.push_back(Seconds(postedAt[message.lParam % kSlots], Now()));
    }
    std::vector<double> delays;

private:
    static constexpr int kSlots = 4096;
    LARGE_INTEGER postedAt[kSlots] = {};
    std::atomic<bool> stop{false};
    std::atomic<int> posted{0};
    JoinedThread worker;
};

// The click, and then the thread's queue run as the program's loop runs it
// until the read has ended.
ReadFigures QuarvelGetContents(MainDialog& dialog, MessageLoop& loop, HWND list)
{
    SetDlgItemTextA(dialog.window, IDC_CONTENTS, "");
    dialog.selected = list;
    const LARGE_INTEGER start = Now();
    SendMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDC_GET_CONTENTS, BN_CLICKED), 0);
    KeyPresser keys(dialog.window);
    while (dialog.IsReading()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (dialog.IsReading() && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            keys.Retrieved(message);
            if (!loop.PreprocessMessage(&message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    const double seconds = Seconds(start, Now());
    return {seconds, GetWindowTextLengthA(GetDlgItem(dialog.window, IDC_CONTENTS)), keys.delays};
}

double Percentile95(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() * 95 / 100, values.size() - 1)];
}

// The last step of every Get Contents, which no round trip pays for: the
// edit control taking the whole text at once.
double BoxFillSeconds(MainDialog& dialog)
{
    HWND box = GetDlgItem(dialog.window, IDC_CONTENTS);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(box)) + 1, '\0');
    GetWindowTextA(box, &text[0], static_cast<int>(text.size()));
    SetWindowTextA(box, "");
    const LARGE_INTEGER start = Now();
    SetWindowTextA(box, text.c_str());
    return SecondsSince(start);
}

void BenchmarkListSize(MainDialog& dialog, MessageLoop& loop, int items, int runs)
{
    const std::string title = "Quarvel bench " + std::to_string(items);
    ChildProcess fixture(ProgramBeside("list_fixture.exe"), FixtureArguments(items, title));
    HWND list = StartFixtureList(fixture, title);
    if (!list) {
        std::printf("| %d items | fixture not found | | | |\n", items);
        return;
    }
    std::vector<double> bare, quarvel, ratio, delays;
    int textBytes = 0;
    for (int run = 0; run < runs; ++run) {
        const double b = BareRoundTrips(list, items);
        const ReadFigures q = QuarvelGetContents(dialog, loop, list);
        bare.push_back(b);
        quarvel.push_back(q.seconds);
        ratio.push_back(q.seconds / b);
        textBytes = q.textBytes;
        delays.insert(delays.end(), q.inputDelays.begin(), q.inputDelays.end());
    }
    const std::string label = std::to_string(items) + " items";
    PrintRow((label + ": Get Contents").c_str(), "s", Summarise(quarvel));
    PrintRow((label + ": bare round trips").c_str(), "s", Summarise(bare));
    PrintRow((label + ": Get Contents / bare").c_str(), "ratio", Summarise(ratio));
    std::printf("| %s: text read | %d | | | bytes |\n", label.c_str(), textBytes);
    std::printf("| %s: of Get Contents, filling the box with the text read | %.3f | | | s |\n", label.c_str(),
                BoxFillSeconds(dialog));
    if (!delays.empty()) {
        std::printf("| %s: key posted during the read to its retrieval, 95th percentile of %zu | %.1f | | %.1f | ms |\n",
                    label.c_str(), delays.size(), Percentile95(delays) * 1000,
                    *std::max_element(delays.begin(), delays.end()) * 1000);
    }
    fixture.Close(GetParent(list), WM_CLOSE, 0);
}

// A list view whose program answers every question after 20 ms: how long a
// key waits while Get Contents reads it, against 100 ms (a key every 100 ms
// may arrive just after a slice began) plus one answer, which a slice may
// still be waiting for.
void BenchmarkSlowListView(MainDialog& dialog, MessageLoop& loop)
{
    const int rows = 1000;
    const std::string title = "Quarvel bench slow";
    ChildProcess fixture(ProgramBeside("list_fixture.exe"),
                         "--many 0 --slow " + std::to_string(rows) + " --lifetime 7200 --title \"" + title + "\"");
    HWND list = nullptr;
    for (int wait = 0; fixture.Started() && !list && wait < 1200; ++wait) {
        if (FindWindowA("QuarvelListFixture", title.c_str()))
            list = GetDlgItem(FindWindowA(nullptr, (title + " (controls)").c_str()), 308);
        if (!list)
            Sleep(100);
    }
    if (!list) {
        std::printf("| slow list view | fixture not found | | | |\n");
        return;
    }
    const LARGE_INTEGER asked = Now();
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kBareTimeoutMs, &count);
    const double answer = SecondsSince(asked);
    const ReadFigures read = QuarvelGetContents(dialog, loop, list);
    const std::string label = std::to_string(rows) + "-row list view answering after 20 ms";
    std::printf("| %s: Get Contents | %.3f | | | s |\n", label.c_str(), read.seconds);
    std::printf("| %s: one answer (LVM_GETITEMCOUNT) | %.1f | | | ms |\n", label.c_str(), answer * 1000);
    if (!read.inputDelays.empty()) {
        std::printf("| %s: key posted during the read to its retrieval, 95th percentile of %zu | %.1f | | %.1f | ms |\n",
                    label.c_str(), read.inputDelays.size(), Percentile95(read.inputDelays) * 1000,
                    *std::max_element(read.inputDelays.begin(), read.inputDelays.end()) * 1000);
    }
    std::printf("| %s: goal for that percentile, 100 ms plus one answer | %.1f | | | ms |\n", label.c_str(),
                100 + answer * 1000);
    std::fflush(stdout);
    fixture.Close(FindWindowA("QuarvelListFixture", title.c_str()), WM_CLOSE, 0);
}

void WaitForGoAhead()
{
    char line[16];
    std::fgets(line, sizeof(line), stdin);
}

// One read watched from outside, in the stages of Get Contents: reading and
// gathering, joining, and setting the box. Wine's process counters do not
// follow the heap, so bench/peak_memory.py reads the kernel's figures for
// this process at each stage and resets the peak before the next.
void Stage(const char* name, size_t utf8Bytes = 0, size_t utf16Bytes = 0)
{
    std::printf("%s %zu %zu\n", name, utf8Bytes, utf16Bytes);
    std::fflush(stdout);
    WaitForGoAhead();
}

int MemoryProbe(MainDialog& dialog, int items)
{
    const std::string title = "Quarvel memory " + std::to_string(items);
    ChildProcess fixture(ProgramBeside("list_fixture.exe"), FixtureArguments(items, title));
    HWND list = StartFixtureList(fixture, title);
    if (!list)
        return 1;
    Stage("ready");
    SlicedRead read(ReaderFor(list));
    while (read.Continue() == ReadState::reading) {
    }
    Stage("read");
    // The text's size both ways, UTF-8 counted without a copy, before the
    // box takes the text as the dialog gives it.
    const int utf8 = WideCharToMultiByte(CP_UTF8, 0, read.Text(), static_cast<int>(read.Size()), nullptr, 0,
                                         nullptr, nullptr);
    const size_t utf16 = read.Size() * sizeof(wchar_t);
    if (!FillContentsBox(GetDlgItem(dialog.window, IDC_CONTENTS), read.TextToMove()))
        return 1;
    Stage("shown", static_cast<size_t>(utf8), utf16);
    fixture.Close(GetParent(list), WM_CLOSE, 0);
    return 0;
}

Summary StartUp(const char* program, int runs)
{
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        const LARGE_INTEGER start = Now();
        ChildProcess process(ProgramBeside(program), "");
        HWND shown = process.WaitForVisibleWindow(300000);
        const double seconds = Seconds(start, Now());
        if (shown)
            samples.push_back(seconds);
        process.Close(shown, WM_COMMAND, IDCANCEL);
    }
    return Summarise(samples);
}

int RunBenchmarks(bool quick, int memoryItems)
{
    MessageLoop loop;
    appModule.RegisterLoop(&loop);
    MainDialog dialog;
    if (!dialog.CreateModeless(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_MAIN))) {
        std::printf("cannot create the main dialog\n");
        return 1;
    }
    if (memoryItems > 0) {
        const int status = MemoryProbe(dialog, memoryItems);
        DestroyWindow(dialog.window);
        appModule.UnregisterLoop();
        return status;
    }
    std::printf("| Measurement | median | min | max | unit |\n|---|---|---|---|---|\n");
    std::fflush(stdout);
    BenchmarkListSize(dialog, loop, 1000, 5);
    BenchmarkListSize(dialog, loop, 10000, 5);
    BenchmarkSlowListView(dialog, loop);
    if (!quick)
        BenchmarkListSize(dialog, loop, 100000, 3);
    std::fflush(stdout);
    const int startRuns = quick ? 3 : 5;
    const Summary quarvelStart = StartUp("Quarvel.exe", startRuns);
    const Summary minimalStart = StartUp("minimal_dialog.exe", startRuns);
    PrintRow("start-up to visible dialog: Quarvel", "s", quarvelStart);
    PrintRow("start-up to visible dialog: minimal dialog program", "s", minimalStart);
    std::printf("| start-up: Quarvel / minimal (medians) | %.3f | | | ratio |\n",
                minimalStart.median > 0 ? quarvelStart.median / minimalStart.median : 0.0);
    DestroyWindow(dialog.window);
    appModule.UnregisterLoop();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
    const int memoryItems = argc > 2 && std::string(argv[1]) == "--memory" ? std::atoi(argv[2]) : 0;
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    appModule.Initialize(GetModuleHandleA(nullptr));
    const int status = RunBenchmarks(quick, memoryItems);
    appModule.Shutdown();
    CoUninitialize();
    return status;
}
