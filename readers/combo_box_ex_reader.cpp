#include "readers/combo_box_ex_reader.h"

#include <commctrl.h>

#include <algorithm>

#include "readers/remote_read_end.h"

ComboBoxExReader::ComboBoxExReader(HWND combo, UINT timeout, TimedSend send)
    : combo(combo, timeout, static_cast<int>(kLongestItem), send)
{
}

void ComboBoxExReader::SetPace(ReadPace* readPace)
{
    ItemReader::SetPace(readPace);
    combo.SetPace(readPace);
}

// The extended control answers the count of the combo box inside it.
CountReport ComboBoxExReader::Count()
{
    return RemoteCount(combo, Kind(), CB_GETCOUNT);
}

bool ComboBoxExReader::ReadNext(ItemSink& sink)
{
    if (over)
        return false;
    return expected < 0 ? AskCount() : AskItems(sink);
}

bool ComboBoxExReader::End(ReadEnd end)
{
    ending = end;
    over = true;
    return false;
}

bool ComboBoxExReader::AskCount()
{
    const int count = BelievableCount(combo.AskCount(CB_GETCOUNT));
    if (combo.Held())
        return true;
    if (count < 0)
        return End(EndAfter(combo.Failure()));
    if (count == 0)
        return End(ReadEnd::complete);
    if (combo.Open() != RemoteProblem::none)
        return End(ReadEnd::refused);
    expected = count;
    return true;
}

// A step's worth of items; one the control has no text for is left out, as a
// list box's missing item is.
bool ComboBoxExReader::AskItems(ItemSink& sink)
{
    if (next >= expected)
        return End(ReadEnd::complete);
    const auto count = static_cast<std::size_t>(std::min(kQuestionsPerStep, expected - next));
    const ComboItemLayout& layout = combo.Layouts().comboItem;
    records.assign(count * layout.record.size, 0);
    wParams.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        Put32(records, i * layout.record.size + layout.record.mask, CBEIF_TEXT);
        Put32(records, i * layout.record.size + layout.item, static_cast<std::uint32_t>(next + static_cast<int>(i)));
    }
    const std::size_t read = combo.AskTexts(CBEM_GETITEMW, wParams, layout.record, records, true, texts);
    for (std::size_t i = 0; i < read; ++i)
        sink.Item(texts[i]);
    next += static_cast<int>(read);
    if (read < count) {
        if (combo.Held())
            return true;
        if (combo.Failure() != RemoteFailure::none)
            return End(EndAfter(combo.Failure()));
        ++next;  // refused: no such item any more
    }
    return next < expected || End(ReadEnd::complete);
}
