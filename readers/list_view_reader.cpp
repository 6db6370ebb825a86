#include "readers/list_view_reader.h"

#include <commctrl.h>

#include <algorithm>

#include "readers/list_view_columns.h"
#include "readers/remote_read_end.h"

ListViewReader::ListViewReader(HWND list, UINT timeout, TimedSend send)
    : list(list, timeout, static_cast<int>(kLongestItem), send)
{
}

void ListViewReader::SetPace(ReadPace* readPace)
{
    ItemReader::SetPace(readPace);
    list.SetPace(readPace);
}

CountReport ListViewReader::Count()
{
    return RemoteCount(list, Kind(), LVM_GETITEMCOUNT);
}

bool ListViewReader::ReadNext(ItemSink& sink)
{
    switch (stage) {
    case Stage::count:
        return AskCount();
    case Stage::view:
        return AskView();
    case Stage::titles:
        return AskTitle();
    case Stage::order:
        return AskOrder(sink);
    case Stage::cells:
        return AskCells(sink);
    case Stage::over:
        break;
    }
    return false;
}

bool ListViewReader::End(ReadEnd end)
{
    ending = end;
    stage = Stage::over;
    return false;
}

// After a question that brought no answer to go on with: true when the pace
// only held it.
bool ListViewReader::HeldOrEnded()
{
    return list.Held() || End(EndAfter(list.Failure()));
}

bool ListViewReader::AskCount()
{
    const int count = BelievableCount(list.AskCount(LVM_GETITEMCOUNT));
    if (list.Held())
        return true;
    if (count < 0)
        return HeldOrEnded();
    if (list.Open() != RemoteProblem::none)
        return End(ReadEnd::refused);
    expected = count;
    stage = Stage::view;
    return true;
}

bool ListViewReader::AskView()
{
    bool report = false;
    if (!IsReportView(list, report))
        return HeldOrEnded();
    stage = report ? Stage::titles : Stage::cells;
    if (!report)
        subItems.assign(1, 0);
    return true;
}

bool ListViewReader::AskTitle()
{
    std::wstring title;
    const TextAnswer answer = ReadTitle(list, static_cast<int>(titles.size()), title);
    if (answer == TextAnswer::held || answer == TextAnswer::failed)
        return HeldOrEnded();
    if (answer == TextAnswer::text) {
        // Titles longer together than any item: the list view is answering
        // something else (a title that fills every buffer it is given).
        titleLength += title.size();
        if (titleLength >= static_cast<std::size_t>(kLongestItem))
            return End(ReadEnd::limit);
        titles.push_back(std::move(title));
    }
    if (answer == TextAnswer::refused || titles.size() >= static_cast<std::size_t>(kMostColumns))
        stage = Stage::order;
    return true;
}

// The header line, when the list view shows columns.
bool ListViewReader::AskOrder(ItemSink& sink)
{
    stage = Stage::cells;
    if (titles.empty()) {
        subItems.assign(1, 0);
        return true;
    }
    std::vector<int> order;
    if (!ReadOrder(list, static_cast<int>(titles.size()), order)) {
        stage = Stage::order;
        return HeldOrEnded();
    }
    std::vector<std::wstring> shown;
    // A column shows the subitem of its own index, wherever it is shown.
    for (int column : order) {
        subItems.push_back(column);
        shown.push_back(std::move(titles[static_cast<std::size_t>(column)]));
    }
    std::vector<std::wstring>().swap(titles);
    sink.Header(shown);
    return true;
}

// A step's worth of cells, row after row: a row is shown once all its cells
// are read, however many steps that takes.
bool ListViewReader::AskCells(ItemSink& sink)
{
    const std::size_t columns = subItems.size();
    const std::uint64_t total = static_cast<std::uint64_t>(expected) * columns;
    if (nextCell >= total)
        return End(ReadEnd::complete);
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kQuestionsPerStep, total - nextCell));
    const ListItemLayout& layout = list.Layouts().listItem;
    records.assign(count * layout.record.size, 0);
    rows.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t cell = nextCell + i;
        const std::size_t at = i * layout.record.size;
        Put32(records, at + layout.record.mask, LVIF_TEXT);
        Put32(records, at + layout.item, static_cast<std::uint32_t>(cell / columns));
        Put32(records, at + layout.subItem, static_cast<std::uint32_t>(subItems[static_cast<std::size_t>(cell % columns)]));
        rows.push_back(static_cast<WPARAM>(cell / columns));
    }
    const std::size_t read = list.AskTexts(LVM_GETITEMTEXTW, rows, layout.record, records, false, cells);
    nextCell += read;
    for (std::size_t i = 0; i < read; ++i) {
        // A row longer than any item: the list view is answering something else.
        rowLength += cells[i].size();
        if (rowLength > static_cast<std::size_t>(kLongestItem))
            return End(ReadEnd::limit);
        row.push_back(std::move(cells[i]));
        if (row.size() == columns) {
            sink.Row(row.data(), columns);
            ++next;
            row.clear();
            rowLength = 0;
        }
    }
    if (read < count)
        return HeldOrEnded();
    return nextCell < total || End(ReadEnd::complete);
}
