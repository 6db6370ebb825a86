// Measures quarvel-read from outside, as a script runs it, each figure
// against a yardstick taken in the same run:
//   - reading a list box of 100,000 items (10,000 with --quick) of another
//     process into a file, against the bare round trips of its items;
//   - start to exit of --count on a 10-item list, against a console program
//     that only starts and exits, and one that also loads the window
//     manager's library (user32), as every reader of windows must.
// Prints Markdown rows for the table of quarvel_bench.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/scoped.h"
#include "bench/clock.h"
#include "bench/list_box_fixture.h"
#include "bench/statistics.h"
#include "tools/child_process.h"

namespace {

// Seconds from the start of the program to its exit, its standard output in
// `output`; -1 when it could not start.
double RunToExit(const std::string& program, const std::string& arguments, HANDLE output)
{
    const std::string commandLine = "\"" + program + "\" " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info = {};
    const LARGE_INTEGER start = Now();
    if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &info))
        return -1;
    const ScopedHandle process(info.hProcess);
    const ScopedHandle thread(info.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
    return SecondsSince(start);
}

// A file the programs write their output into, emptied before each run.
ScopedHandle OutputFile()
{
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "qrb", 0, path);
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    return ScopedHandle(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    &inherited, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

void Empty(HANDLE file)
{
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
}

std::string HandleArgument(HWND window)
{
    char text[16] = {};
    std::snprintf(text, sizeof(text), "0x%x", static_cast<unsigned int>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

void BenchmarkRead(int items, int runs, HANDLE output)
{
    const std::string title = "Quarvel bench read " + std::to_string(items);
    ChildProcess fixture(ProgramBeside("list_fixture.exe"), FixtureArguments(items, title));
    HWND list = StartFixtureList(fixture, title);
    const std::string label = "quarvel-read, " + std::to_string(items) + " items to a file";
    if (!list) {
        std::printf("| %s | fixture not found | | | |\n", label.c_str());
        return;
    }
    std::vector<double> bare, read, ratio;
    LARGE_INTEGER written = {};
    for (int run = 0; run < runs; ++run) {
        Empty(output);
        const double b = BareRoundTrips(list, items);
        const double r = RunToExit(ProgramBeside("quarvel-read.exe"), HandleArgument(list), output);
        GetFileSizeEx(output, &written);
        bare.push_back(b);
        read.push_back(r);
        ratio.push_back(r / b);
    }
    PrintRow(label, "s", Summarise(read));
    PrintRow(label + ": bare round trips", "s", Summarise(bare));
    PrintRow(label + ": quarvel-read / bare", "ratio", Summarise(ratio));
    std::printf("| %s: text written | %lld | | | bytes |\n", label.c_str(), static_cast<long long>(written.QuadPart));
    fixture.Close(GetParent(list), WM_CLOSE, 0);
}

// Process starts here fall into a fast and a slow group; the minima compare
// like with like where the medians may not.
void PrintRatios(const std::string& label, const Summary& measured, const Summary& yardstick)
{
    std::printf("| %s (medians) | %.3f | | | ratio |\n", label.c_str(),
                yardstick.median > 0 ? measured.median / yardstick.median : 0.0);
    std::printf("| %s (minima) | %.3f | | | ratio |\n", label.c_str(),
                yardstick.minimum > 0 ? measured.minimum / yardstick.minimum : 0.0);
}

void BenchmarkCountStart(int runs, HANDLE output)
{
    const std::string title = "Quarvel bench count";
    ChildProcess fixture(ProgramBeside("list_fixture.exe"), FixtureArguments(10, title));
    HWND list = StartFixtureList(fixture, title);
    if (!list) {
        std::printf("| --count start to exit | fixture not found | | | |\n");
        return;
    }
    std::vector<double> count, minimal, windowed;
    // The first start of each loads its files into the cache: not counted.
    for (int run = -1; run < runs; ++run) {
        Empty(output);
        const double c = RunToExit(ProgramBeside("quarvel-read.exe"), "--count " + HandleArgument(list), output);
        const double m = RunToExit(ProgramBeside("minimal_console.exe"), "", output);
        const double w = RunToExit(ProgramBeside("minimal_window_console.exe"), "", output);
        if (run < 0)
            continue;
        count.push_back(c);
        minimal.push_back(m);
        windowed.push_back(w);
    }
    const Summary countSummary = Summarise(count);
    const Summary minimalSummary = Summarise(minimal);
    const Summary windowedSummary = Summarise(windowed);
    PrintRow("start to exit: quarvel-read --count, 10 items", "s", countSummary);
    PrintRow("start to exit: minimal console program", "s", minimalSummary);
    PrintRow("start to exit: minimal console program asking user32 one question", "s", windowedSummary);
    PrintRatios("start to exit: quarvel-read --count / minimal", countSummary, minimalSummary);
    PrintRatios("start to exit: quarvel-read --count / minimal with user32", countSummary, windowedSummary);
    fixture.Close(GetParent(list), WM_CLOSE, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
    const ScopedHandle output = OutputFile();
    if (!output || output.Get() == INVALID_HANDLE_VALUE) {
        std::printf("| quarvel-read | no file for its output | | | |\n");
        return 1;
    }
    BenchmarkRead(quick ? 10000 : 100000, 3, output.Get());
    std::fflush(stdout);
    BenchmarkCountStart(quick ? 10 : 20, output.Get());
    return 0;
}
