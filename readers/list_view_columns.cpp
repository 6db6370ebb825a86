#include "readers/list_view_columns.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

namespace {

// Enough for any list a person reads; a control answering more is not one.
constexpr int kMostColumns = 4096;

// TextAnswer::refused past the last column.
TextAnswer ReadTitle(RemoteControl& list, int column, std::wstring& title)
{
    const TextRecordLayout& layout = list.Layouts().column;
    std::vector<unsigned char> record(layout.size, 0);
    Put32(record, layout.mask, LVCF_TEXT);
    return list.AskText(LVM_GETCOLUMNW, static_cast<WPARAM>(column), layout, record, true, title);
}

// Column indexes left to right as shown; in index order when the list view
// answers something that is not an arrangement of its columns.
bool ReadOrder(RemoteControl& list, int count, std::vector<int>& order)
{
    order.assign(static_cast<std::size_t>(count), 0);
    const std::size_t bytes = order.size() * sizeof(int);
    DWORD_PTR reply = 0;
    if (list.Block().Reserve(bytes) != RemoteProblem::none ||
        !list.Ask(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), list.Block().Param(0), reply))
        return false;
    std::vector<int> sorted;
    if (reply && list.Block().Read(0, order.data(), bytes)) {
        sorted = order;
        std::sort(sorted.begin(), sorted.end());
    }
    std::vector<int> identity(order.size());
    std::iota(identity.begin(), identity.end(), 0);
    if (sorted != identity)
        order = identity;
    return true;
}

}  // namespace

bool IsReportView(RemoteControl& list, bool& report)
{
    report = (GetWindowLongPtrW(list.Window(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
    DWORD_PTR view = 0;
    if (report)
        return true;
    // A view set by message need not show in the style.
    if (!list.Ask(LVM_GETVIEW, 0, 0, view))
        return false;
    report = view == LV_VIEW_DETAILS;
    return true;
}

bool ReadColumns(RemoteControl& list, ListViewColumns& columns)
{
    std::vector<std::wstring> titles;
    for (int column = 0; column < kMostColumns; ++column) {
        std::wstring title;
        const TextAnswer answer = ReadTitle(list, column, title);
        if (answer == TextAnswer::failed)
            return false;
        if (answer == TextAnswer::refused)
            break;
        titles.push_back(title);
    }
    std::vector<int> order;
    if (titles.empty() || !ReadOrder(list, static_cast<int>(titles.size()), order))
        return titles.empty();
    // A column shows the subitem of its own index, wherever it is shown.
    for (int column : order) {
        columns.subItems.push_back(column);
        columns.titles.push_back(titles[static_cast<std::size_t>(column)]);
    }
    return true;
}
