// Measures Get Contents' reading of a large list view and tree view of
// another process through Quarvel's own readers, each against the bare round
// trips of the messages the read cannot do without, measured in the same run:
//   - list view: one LVM_GETITEMTEXTW per cell;
//   - tree view: one TVM_GETITEMW and two TVM_GETNEXTITEM per item (its
//     first child, and its next sibling once its branch is done).
// The bare loops ask with records written once, so they leave out only the
// memory traffic and bookkeeping the readers add. Prints Markdown table rows.
//   control_reading_bench.exe [--quick]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/scoped.h"
#include "bench/clock.h"
#include "bench/statistics.h"
#include "readers/list_view_reader.h"
#include "readers/tabbed_lines.h"
#include "readers/tree_view_reader.h"
#include "tools/child_process.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 3;
constexpr UINT kTimeoutMs = 5000;

DWORD_PTR Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &reply);
    return reply;
}

// A record of the fixture's own bitness (the same build's) with a text slot
// behind it, written once into the fixture.
template <typename Record>
class BareRecord {
public:
    BareRecord(HWND window, Record record)
    {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        process.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id));
        void* address = VirtualAllocEx(process.Get(), nullptr, sizeof(Record) + 512, MEM_COMMIT, PAGE_READWRITE);
        memory.Reset({process.Get(), address});
        record.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(address) + sizeof(Record));
        record.cchTextMax = 256;
        WriteProcessMemory(process.Get(), address, &record, sizeof(record), nullptr);
    }
    LPARAM Param() const { return reinterpret_cast<LPARAM>(memory.Get().held); }

private:
    ScopedHandle process;
    ScopedRemoteMemory memory;
};

double BareListView(HWND list)
{
    std::vector<BareRecord<LVITEMW>> records;
    for (int column = 0; column < kColumns; ++column) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iSubItem = column;
        records.emplace_back(list, item);
    }
    const LARGE_INTEGER start = Now();
    for (int row = 0; row < kRows; ++row)
        for (const auto& record : records)
            Send(list, LVM_GETITEMTEXTW, WPARAM(row), record.Param());
    return SecondsSince(start);
}

double BareTreeView(HWND tree)
{
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    BareRecord<TVITEMW> record(tree, item);
    const LPARAM root = reinterpret_cast<LPARAM>(item.hItem);
    const LARGE_INTEGER start = Now();
    for (int i = 0; i < kRows; ++i) {
        Send(tree, TVM_GETITEMW, 0, record.Param());
        Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, root);
        Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, root);
    }
    return SecondsSince(start);
}

double ReadAll(ItemReader& reader, std::wstring& lines)
{
    lines.clear();
    TabbedLines sink(lines);
    const LARGE_INTEGER start = Now();
    while (reader.ReadNext(sink)) {
    }
    return SecondsSince(start);
}

int Lines(const std::wstring& text)
{
    int lines = 0;
    for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2))
        ++lines;
    return lines;
}

template <typename Reader>
void Measure(const char* what, HWND control, double (*bare)(HWND), int runs)
{
    std::vector<double> bareSeconds, readerSeconds, ratios;
    std::wstring lines;
    for (int run = 0; run < runs; ++run) {
        // Taking turns at going first, so that neither gains from the other.
        const double first = run % 2 ? 0 : bare(control);
        Reader reader(control);
        const double r = ReadAll(reader, lines);
        const double b = run % 2 ? bare(control) : first;
        bareSeconds.push_back(b);
        readerSeconds.push_back(r);
        ratios.push_back(r / b);
    }
    const std::string label = std::string(what) + ", " + std::to_string(kRows) + " items";
    PrintRow(label + ": Get Contents' reader", "s", Summarise(readerSeconds));
    PrintRow(label + ": bare round trips", "s", Summarise(bareSeconds));
    PrintRow(label + ": reader / bare", "ratio", Summarise(ratios));
    std::printf("| %s: lines read | %d | | | lines |\n", label.c_str(), Lines(lines));
    std::fflush(stdout);
}

// The fixture's window of other lists, once the fixture shows them all.
HWND StartFixture(ChildProcess& fixture, const std::string& title)
{
    for (int wait = 0; fixture.Started() && wait < 1200; ++wait) {
        if (FindWindowA("QuarvelListFixture", title.c_str()))
            return FindWindowA(nullptr, (title + " (controls)").c_str());
        Sleep(100);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 && std::string(argv[1]) == "--quick" ? 3 : 5;
    const std::string title = "Quarvel bench controls";
    ChildProcess fixture(ProgramBeside("list_fixture.exe"),
                         "--many 0 --rows " + std::to_string(kRows) + " --lifetime 7200 --title \"" + title + "\"");
    HWND window = StartFixture(fixture, title);
    if (!window) {
        std::printf("| list view and tree view | fixture not found | | | |\n");
        return 1;
    }
    Measure<ListViewReader>("list view, 3 columns", GetDlgItem(window, 303), BareListView, runs);
    Measure<TreeViewReader>("tree view", GetDlgItem(window, 307), BareTreeView, runs);
    fixture.Close(FindWindowA("QuarvelListFixture", title.c_str()), WM_CLOSE, 0);
    return 0;
}
