// Measures what matters in Quarvel's speed, each figure against a yardstick
// taken in the same run:
//   - Get Contents on list boxes of another process, against the bare cost of
//     the same cross-process messages, with the peak private memory of the
//     read against the size of the text;
//   - start-up to the visible dialog, against a minimal dialog program;
// (CPU time while idle is measured from outside, by tools/run-bench.)
// Prints a Markdown table.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/message_loop.h"
#include "app/module.h"
#include "bench/child_process.h"
#include "bench/peak_memory.h"
#include "bench/statistics.h"
#include "inspector/main_dialog.h"
#include "res/resource.h"

namespace {

constexpr int kManyListId = 105;
constexpr UINT kBareTimeoutMs = 5000;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// The physical limit: LB_GETTEXTLEN and LB_GETTEXT for every item, nothing else.
double BareRoundTrips(HWND list, int count)
{
    std::vector<wchar_t> buffer(4096);
    const LARGE_INTEGER start = Now();
    for (int i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, WPARAM(i), 0, SMTO_ABORTIFHUNG, kBareTimeoutMs, &length);
        if (length + 1 > buffer.size())
            buffer.resize(length + 1);
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buffer.data()),
                            SMTO_ABORTIFHUNG, kBareTimeoutMs, &copied);
    }
    return Seconds(start, Now());
}

struct ReadFigures {
    double seconds;
    double memoryOverText;
    int textBytes;
};

ReadFigures QuarvelGetContents(MainDialog& dialog, HWND list)
{
    SetDlgItemTextA(dialog.window, IDC_CONTENTS, "");
    dialog.selected = list;
    PeakMemory memory;
    const LARGE_INTEGER start = Now();
    SendMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDC_GET_CONTENTS, BN_CLICKED), 0);
    const double seconds = Seconds(start, Now());
    const double grown = memory.GrowthBytes();
    const int textBytes = GetWindowTextLengthA(GetDlgItem(dialog.window, IDC_CONTENTS));
    const double overText = textBytes > 0 ? grown / double(textBytes) : 0.0;
    return {seconds, overText, textBytes};
}

void PrintRow(const char* what, const char* unit, const Summary& s, double scale = 1.0)
{
    std::printf("| %s | %.3f | %.3f | %.3f | %s |\n", what, s.median * scale, s.minimum * scale, s.maximum * scale,
                unit);
}

void BenchmarkListSize(MainDialog& dialog, int items, int runs)
{
    const std::string title = "Quarvel bench " + std::to_string(items);
    ChildProcess fixture(ProgramBeside("list_fixture.exe"), "--many " + std::to_string(items) + " --title \"" +
                                                                title + "\"");
    HWND main = nullptr;
    for (int wait = 0; fixture.Started() && !main && wait < 1200; ++wait) {
        main = FindWindowA("QuarvelListFixture", title.c_str());
        if (!main)
            Sleep(100);
    }
    HWND list = main ? GetDlgItem(main, kManyListId) : nullptr;
    if (!list) {
        std::printf("| %d items | fixture not found | | | |\n", items);
        return;
    }
    std::vector<double> bare, quarvel, ratio, memory;
    int textBytes = 0;
    for (int run = 0; run < runs; ++run) {
        const double b = BareRoundTrips(list, items);
        const ReadFigures q = QuarvelGetContents(dialog, list);
        bare.push_back(b);
        quarvel.push_back(q.seconds);
        ratio.push_back(q.seconds / b);
        memory.push_back(q.memoryOverText);
        textBytes = q.textBytes;
    }
    const std::string label = std::to_string(items) + " items";
    PrintRow((label + ": Get Contents").c_str(), "s", Summarise(quarvel));
    PrintRow((label + ": bare round trips").c_str(), "s", Summarise(bare));
    PrintRow((label + ": Get Contents / bare").c_str(), "ratio", Summarise(ratio));
    PrintRow((label + ": peak private memory / text (" + std::to_string(textBytes) + " bytes)").c_str(), "ratio",
             Summarise(memory));
    fixture.Close(main, WM_CLOSE, 0);
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

int RunBenchmarks(bool quick)
{
    MessageLoop loop;
    appModule.RegisterLoop(&loop);
    MainDialog dialog;
    appModule.RegisterCreateRecord(dialog.Record(), &dialog);
    if (!CreateDialogParamA(appModule.resourceInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, BindingProcedure, 0)) {
        std::printf("cannot create the main dialog\n");
        return 1;
    }
    std::printf("| Measurement | median | min | max | unit |\n|---|---|---|---|---|\n");
    std::fflush(stdout);
    BenchmarkListSize(dialog, 1000, 5);
    BenchmarkListSize(dialog, 10000, 5);
    if (!quick)
        BenchmarkListSize(dialog, 100000, 3);
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
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    appModule.Initialize(GetModuleHandleA(nullptr));
    const int status = RunBenchmarks(quick);
    appModule.Shutdown();
    CoUninitialize();
    return status;
}
