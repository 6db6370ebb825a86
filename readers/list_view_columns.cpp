#include "readers/list_view_columns.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

TextAnswer ReadTitle(RemoteControl& list, int column, std::wstring& title)
{
    const TextRecordLayout& layout = list.Layouts().column;
    std::vector<unsigned char> record(layout.size, 0);
    Put32(record, layout.mask, LVCF_TEXT);
    return list.AskText(LVM_GETCOLUMNW, static_cast<WPARAM>(column), layout, record, true, title);
}

bool ReadOrder(RemoteControl& list, int count, std::vector<int>& order)
{
    order.assign(static_cast<std::size_t>(count), 0);
    const std::size_t bytes = order.size() * sizeof(int);
    DWORD_PTR reply = 0;
    if (!list.Usable() || list.Block().Fit(bytes) != RemoteProblem::none ||
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
