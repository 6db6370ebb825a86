#include "readers/remote/remote_control.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

constexpr std::size_t kSlotBytes = kFirstTextSlot * sizeof(wchar_t);
// Read a page at a time, so that a text ending just before memory that cannot
// be read is still read whole: the smallest page of every Windows platform.
constexpr std::size_t kPage = 4096;

std::uint64_t PointerIn(const unsigned char* record, std::uint32_t field, std::uint32_t pointerSize)
{
    std::uint64_t value = 0;
    std::memcpy(&value, record + field, pointerSize);
    return value;
}

// The offset of the first zero wide character among the whole characters of
// `bytes` from `from` on; `bytes.size()` when there is none.
std::size_t TerminatorFrom(const std::vector<unsigned char>& bytes, std::size_t from)
{
    for (std::size_t at = from & ~std::size_t(1); at + 1 < bytes.size(); at += 2) {
        if (!bytes[at] && !bytes[at + 1])
            return at;
    }
    return bytes.size();
}

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
    held = pace && !pace->MayAsk();
    if (held)
        return false;
    SetLastError(ERROR_SUCCESS);
    if (send(control, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout, &reply))
        return true;
    const DWORD error = GetLastError();
    gone = error == ERROR_INVALID_WINDOW_HANDLE;
    // A message the system refused, or sent to no window, never reached the
    // program; any other may still be taken when the program wakes, and
    // written into the block.
    if (!gone && error != ERROR_ACCESS_DENIED)
        block.Abandon();
    return Fail(error == ERROR_ACCESS_DENIED ? RemoteFailure::denied : RemoteFailure::silent);
}

bool RemoteControl::Fail(RemoteFailure why)
{
    failure = why;
    usable = false;
    return false;
}

bool RemoteControl::Place(std::size_t bytes)
{
    if (!usable)
        return false;
    const RemoteProblem problem = block.Fit(bytes);
    if (problem == RemoteProblem::none)
        return true;
    return Fail(problem == RemoteProblem::needs64Bit ? RemoteFailure::outOfReach : RemoteFailure::silent);
}

TextAnswer RemoteControl::AskText(UINT message, WPARAM wParam, const TextRecordLayout& layout,
                                  std::vector<unsigned char>& record, bool replyIsSuccess, std::wstring& text,
                                  int firstSlot)
{
    const std::vector<unsigned char> key = KeyOf(message, wParam, layout, record.data());
    int chars = key == heldKey ? heldSlot : firstSlot;
    heldKey.clear();
    std::vector<wchar_t> image;
    for (;; chars = LargerSlot(chars)) {
        const std::size_t bytes = layout.size + static_cast<std::size_t>(chars) * sizeof(wchar_t);
        if (!Place(bytes))
            return TextAnswer::failed;
        const std::uint64_t slot = block.Address(layout.size);
        PutPointer(record, layout.text, slot, block.Layouts().pointerSize);
        Put32(record, layout.textMax, static_cast<std::uint32_t>(chars));
        // An empty slot first: a control that copies nothing leaves no text.
        const wchar_t none = L'\0';
        if (!block.Write(0, record.data(), layout.size) || !block.Write(layout.size, &none, sizeof(none))) {
            Fail(RemoteFailure::silent);
            return TextAnswer::failed;
        }
        DWORD_PTR reply = 0;
        if (!Ask(message, wParam, block.Param(0), reply)) {
            if (!held)
                return TextAnswer::failed;
            heldKey = key;
            heldSlot = chars;
            return TextAnswer::held;
        }
        if (replyIsSuccess && !reply)
            return TextAnswer::refused;
        image.resize(bytes / sizeof(wchar_t));
        if (!block.Read(0, image.data(), bytes)) {
            Fail(RemoteFailure::silent);
            return TextAnswer::failed;
        }
        const auto* answered = reinterpret_cast<const unsigned char*>(image.data());
        const Answer answer = TextOf(answered, layout, image.data() + layout.size / sizeof(wchar_t), slot, chars, text);
        if (!answer.read)
            return TextAnswer::failed;
        if (answer.whole || chars == longestText + 1)
            return TextAnswer::text;
    }
}

std::size_t RemoteControl::AskTexts(UINT message, const std::vector<WPARAM>& wParams, const TextRecordLayout& layout,
                                    const std::vector<unsigned char>& records, bool replyIsSuccess,
                                    std::vector<std::wstring>& texts)
{
    texts.resize(wParams.size());
    std::size_t from = 0;
    // A long text held before it was asked again goes on alone, in the slot
    // it was found to need.
    if (!wParams.empty() && !heldKey.empty() && KeyOf(message, wParams[0], layout, records.data()) == heldKey) {
        std::vector<unsigned char> record(records.begin(), records.begin() + layout.size);
        if (AskText(message, wParams[0], layout, record, replyIsSuccess, texts[0]) != TextAnswer::text)
            return 0;
        from = 1;
    }
    return from + AskBatch(message, wParams, from, layout, records, replyIsSuccess, texts);
}

std::size_t RemoteControl::AskBatch(UINT message, const std::vector<WPARAM>& wParams, std::size_t from,
                                    const TextRecordLayout& layout, const std::vector<unsigned char>& records,
                                    bool replyIsSuccess, std::vector<std::wstring>& texts)
{
    const std::size_t count = wParams.size() - from;
    const std::size_t slotsAt = count * layout.size;
    if (!count || !Place(slotsAt + count * kSlotBytes))
        return 0;
    // The records with their text pointers aimed at slots behind them, then
    // the slots emptied: a control that copies nothing leaves no text.
    const auto first = records.begin() + static_cast<std::ptrdiff_t>(from * layout.size);
    std::vector<unsigned char> image(first, first + static_cast<std::ptrdiff_t>(slotsAt));
    image.resize(slotsAt + count * kSlotBytes, 0);
    const std::uint64_t slots = block.Address(slotsAt);
    for (std::size_t i = 0; i < count; ++i) {
        PutPointer(image, i * layout.size + layout.text, slots + i * kSlotBytes, block.Layouts().pointerSize);
        Put32(image, i * layout.size + layout.textMax, kFirstTextSlot);
    }
    if (!block.Write(0, image.data(), image.size())) {
        Fail(RemoteFailure::silent);
        return 0;
    }
    std::size_t asked = 0;
    for (DWORD_PTR reply = 0; asked < count; ++asked) {
        if (!Ask(message, wParams[from + asked], block.Param(asked * layout.size), reply) || (replyIsSuccess && !reply))
            break;
    }
    // The records and the slots of those asked, at once.
    if (!asked)
        return 0;
    std::vector<wchar_t> answers((slotsAt + asked * kSlotBytes) / sizeof(wchar_t));
    if (!block.Read(0, answers.data(), answers.size() * sizeof(wchar_t))) {
        Fail(RemoteFailure::silent);
        return 0;
    }
    const auto* answered = reinterpret_cast<const unsigned char*>(answers.data());
    for (std::size_t i = 0; i < asked; ++i) {
        const wchar_t* slot = answers.data() + (slotsAt + i * kSlotBytes) / sizeof(wchar_t);
        const Answer answer =
            TextOf(answered + i * layout.size, layout, slot, slots + i * kSlotBytes, kFirstTextSlot, texts[from + i]);
        if (!answer.read)
            return i;
        if (answer.whole)
            continue;
        const auto at = records.begin() + static_cast<std::ptrdiff_t>((from + i) * layout.size);
        std::vector<unsigned char> record(at, at + layout.size);
        if (AskText(message, wParams[from + i], layout, record, replyIsSuccess, texts[from + i], kFirstTextSlot * 8) !=
            TextAnswer::text)
            return i;
    }
    return asked;
}

// The text of an answered record: its slot's, or, when the control pointed
// the record at a text of its own (as a tree view does for a text its program
// supplies on demand), that text.
RemoteControl::Answer RemoteControl::TextOf(const unsigned char* record, const TextRecordLayout& layout,
                                            const wchar_t* slot, std::uint64_t slotAddress, int slotChars,
                                            std::wstring& text)
{
    const std::size_t chars = static_cast<std::size_t>(slotChars);
    if (PointerIn(record, layout.text, block.Layouts().pointerSize) != slotAddress)
        return {true, ReadTextAt(PointerIn(record, layout.text, block.Layouts().pointerSize), text)};
    const std::size_t length = wcsnlen(slot, chars);
    text.assign(slot, std::min(length, chars - 1));
    return {length + 1 < chars, true};
}

// Up to the terminator, and no further than the longest text believed; a
// page that cannot be read ends the text there. False only when the text
// lies where this side cannot name it.
bool RemoteControl::ReadTextAt(std::uint64_t address, std::wstring& text)
{
    text.clear();
    if (!address)
        return true;
    const std::size_t longest = static_cast<std::size_t>(longestText) * sizeof(wchar_t);
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> page(kPage);
    std::size_t end = 0;
    for (std::uint64_t at = address; end == bytes.size() && bytes.size() < longest;) {
        const std::size_t length = std::min<std::size_t>(kPage - static_cast<std::size_t>(at % kPage), longest - bytes.size());
        if (!RemoteBlock::Reaches(at, length))
            return Fail(RemoteFailure::outOfReach);
        if (!block.ReadAt(at, page.data(), length))
            break;
        const std::size_t from = bytes.size();
        bytes.insert(bytes.end(), page.begin(), page.begin() + static_cast<std::ptrdiff_t>(length));
        end = TerminatorFrom(bytes, from);
        at += length;
    }
    text.resize(std::min(end, bytes.size()) / sizeof(wchar_t));
    if (!text.empty())
        std::memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
    return true;
}

// What identifies a question apart from where its text goes.
std::vector<unsigned char> RemoteControl::KeyOf(UINT message, WPARAM wParam, const TextRecordLayout& layout,
                                                const unsigned char* record) const
{
    std::vector<unsigned char> key(record, record + layout.size);
    std::fill_n(key.begin() + layout.text, block.Layouts().pointerSize, 0);
    std::fill_n(key.begin() + layout.textMax, sizeof(std::uint32_t), 0);
    const auto* m = reinterpret_cast<const unsigned char*>(&message);
    const auto* w = reinterpret_cast<const unsigned char*>(&wParam);
    key.insert(key.end(), m, m + sizeof(message));
    key.insert(key.end(), w, w + sizeof(wParam));
    return key;
}
