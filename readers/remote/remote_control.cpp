#include "readers/remote/remote_control.h"

#include <cwchar>

namespace {

constexpr std::size_t kFirstBlock = 4096;
constexpr std::size_t kSlotBytes = kFirstTextSlot * sizeof(wchar_t);

}  // namespace

int RemoteControl::LargerSlot(int slot) const
{
    const int longestSlot = longestText + 1;
    return slot > longestSlot / 8 ? longestSlot : slot * 8;
}

RemoteProblem RemoteControl::Open()
{
    // Once: the block already held belongs to the process handle opened first.
    if (opened)
        return openProblem;
    opened = true;
    openProblem = block.Open(control);
    if (openProblem == RemoteProblem::none)
        openProblem = block.Reserve(kFirstBlock);
    usable = openProblem == RemoteProblem::none;
    return openProblem;
}

int RemoteControl::AskCount(UINT message)
{
    DWORD_PTR reply = 0;
    if (!Ask(message, 0, 0, reply))
        return gone ? 0 : -1;
    return static_cast<int>(reply);
}

bool RemoteControl::Ask(UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& reply)
{
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout, &reply))
        return true;
    // Unless the window is gone, the message may still be taken when the
    // program wakes, and written into the block.
    gone = GetLastError() == ERROR_INVALID_WINDOW_HANDLE;
    if (!gone)
        block.Abandon();
    usable = false;
    return false;
}

TextAnswer RemoteControl::AskText(UINT message, WPARAM wParam, const TextRecordLayout& layout,
                                  std::vector<unsigned char>& record, bool replyIsSuccess, std::wstring& text,
                                  int firstSlot)
{
    const std::uint32_t pointerSize = block.Layouts().pointerSize;
    std::vector<wchar_t> slot;
    for (int chars = firstSlot;; chars = LargerSlot(chars)) {
        const std::size_t bytes = static_cast<std::size_t>(chars) * sizeof(wchar_t);
        if (!usable || block.Reserve(layout.size + bytes) != RemoteProblem::none)
            return TextAnswer::failed;
        PutPointer(record, layout.text, block.Address(layout.size), pointerSize);
        Put32(record, layout.textMax, static_cast<std::uint32_t>(chars));
        // An empty slot first: a control that copies nothing leaves no text.
        const wchar_t none = L'\0';
        DWORD_PTR reply = 0;
        if (!block.Write(0, record.data(), layout.size) || !block.Write(layout.size, &none, sizeof(none)))
            return TextAnswer::failed;
        if (!Ask(message, wParam, block.Param(0), reply))
            return TextAnswer::failed;
        if (replyIsSuccess && !reply)
            return TextAnswer::refused;
        slot.resize(static_cast<std::size_t>(chars));
        if (!block.Read(layout.size, slot.data(), bytes))
            return TextAnswer::failed;
        const std::size_t length = wcsnlen(slot.data(), slot.size());
        // A text that fills the slot may have been cut to fit.
        if (length + 1 < slot.size() || chars == longestText + 1) {
            text.assign(slot.data(), length < slot.size() ? length : slot.size() - 1);
            return TextAnswer::text;
        }
    }
}

std::size_t RemoteControl::AskTexts(UINT message, const std::vector<WPARAM>& wParams, const TextRecordLayout& layout,
                                    std::vector<unsigned char>& records, bool replyIsSuccess,
                                    std::vector<std::wstring>& texts)
{
    if (!PlaceRecords(layout, wParams.size(), records))
        return 0;
    std::size_t asked = 0;
    for (DWORD_PTR reply = 0; asked < wParams.size(); ++asked) {
        if (!Ask(message, wParams[asked], block.Param(asked * layout.size), reply) || (replyIsSuccess && !reply))
            break;
    }
    if (!ReadSlots(wParams.size() * layout.size, asked, texts))
        return 0;
    for (std::size_t i = 0; i < asked; ++i) {
        if (texts[i].size() + 1 < kFirstTextSlot)
            continue;
        const auto first = records.begin() + static_cast<std::ptrdiff_t>(i * layout.size);
        std::vector<unsigned char> record(first, first + layout.size);
        if (AskText(message, wParams[i], layout, record, replyIsSuccess, texts[i], kFirstTextSlot * 8) !=
            TextAnswer::text)
            return i;
    }
    return asked;
}

// The records with their text pointers aimed at slots behind them, then the
// slots emptied: a control that copies nothing leaves no text.
bool RemoteControl::PlaceRecords(const TextRecordLayout& layout, std::size_t count, std::vector<unsigned char>& records)
{
    const std::size_t slotsAt = count * layout.size;
    if (!usable || block.Reserve(slotsAt + count * kSlotBytes) != RemoteProblem::none)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = i * layout.size;
        PutPointer(records, at + layout.text, block.Address(slotsAt + i * kSlotBytes), block.Layouts().pointerSize);
        Put32(records, at + layout.textMax, kFirstTextSlot);
    }
    std::vector<unsigned char> image(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(slotsAt));
    image.resize(slotsAt + count * kSlotBytes, 0);
    return block.Write(0, image.data(), image.size());
}

// The first `count` slots at once.
bool RemoteControl::ReadSlots(std::size_t slotsAt, std::size_t count, std::vector<std::wstring>& texts)
{
    std::vector<wchar_t> slots(count * kFirstTextSlot);
    if (!count || !block.Read(slotsAt, slots.data(), slots.size() * sizeof(wchar_t)))
        return false;
    texts.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const wchar_t* slot = slots.data() + i * kFirstTextSlot;
        texts[i].assign(slot, wcsnlen(slot, kFirstTextSlot));
    }
    return true;
}
