#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ui/clipboard_text.h"
#include "res/resource.h"
#include "tests/support/control_thread.h"
#include "tests/support/main_dialog_driver.h"
#include "tools/joined_thread.h"

namespace {

using list_test::ControlThread;
using list_test::EventHandle;
using list_test::MainDialogDriver;

// A hidden window of the calling thread to own the clipboard with.
class OwnerWindow {
public:
    OwnerWindow()
        : window(CreateWindowExA(0, "STATIC", "clipboard test", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~OwnerWindow() { DestroyWindow(window); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    operator HWND() const { return window; }

private:
    HWND window;
};

// Puts text on the clipboard as some other owner would.
void PutOnClipboard(const std::string& text)
{
    OwnerWindow owner;
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    ASSERT_TRUE(block);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    EXPECT_TRUE(SetClipboardData(CF_TEXT, block));
    CloseClipboard();
}

// The CF_TEXT entry as a reader gets it: whole block, every byte.
struct ClipboardText {
    bool present = false;
    SIZE_T size = 0;
    std::string bytes;
};

ClipboardText ReadClipboardText(UINT format = CF_TEXT)
{
    ClipboardText text;
    OwnerWindow reader;
    if (!OpenClipboard(reader))
        return text;
    if (HANDLE block = GetClipboardData(format)) {
        text.present = true;
        text.size = GlobalSize(block);
        if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
            text.bytes.assign(bytes, text.size);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

std::string ZeroPadded(const std::string& text, size_t size)
{
    std::string padded = text;
    padded.resize(size, '\0');
    return padded;
}

// Holds the clipboard open from another thread until it is destroyed.
class ClipboardHolder {
public:
    ClipboardHolder()
    {
        thread.Start([this] {
            OwnerWindow owner;
            opened = OpenClipboard(owner) != FALSE;
            ready.Set();
            release.Wait(INFINITE);
            if (opened)
                CloseClipboard();
        });
        ready.Wait(10000);
    }
    ~ClipboardHolder()
    {
        release.Set();
        thread.Join();
    }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    bool opened = false;

private:
    EventHandle ready;
    EventHandle release;
    JoinedThread thread;
};

LRESULT CopyToClipboard(MainDialogDriver& dialog)
{
    BOOL handled = TRUE;
    return dialog.main.dialog.OnCopyToClipboard(handled);
}

TEST(MainDialogClipboardTest, BlockHoldsTheTextAndAsManyZeroBytesAgain)
{
    EXPECT_EQ(1u, TextBlockSize(0));
    EXPECT_EQ(2u, TextBlockSize(1));
    EXPECT_EQ(26u, TextBlockSize(13));
}

TEST(MainDialogClipboardTest, ContentsFromGetContentsAreCopiedExactly)
{
    list_test::ControlSetup setup;
    setup.items = {"alpha", "beta"};
    ControlThread target(setup);
    MainDialogDriver dialog;
    dialog.Pick(target.Control());
    dialog.Click(IDC_GET_CONTENTS);
    PutOnClipboard("previous");

    dialog.Click(IDC_CLIPBOARD);
    const ClipboardText copied = ReadClipboardText();
    ASSERT_TRUE(copied.present);
    EXPECT_EQ(26u, copied.size);
    EXPECT_EQ(ZeroPadded("alpha\r\nbeta\r\n", 26), copied.bytes);
    EXPECT_EQ(dialog.main.window, GetClipboardOwner());
    EXPECT_EQ(0, CopyToClipboard(dialog));
}

TEST(MainDialogClipboardTest, EmptyBoxPutsAnEmptyTextInPlaceOfThePrevious)
{
    MainDialogDriver dialog;
    PutOnClipboard("previous");
    dialog.Click(IDC_CLEAR);
    EXPECT_EQ(0, CopyToClipboard(dialog));
    const ClipboardText copied = ReadClipboardText();
    ASSERT_TRUE(copied.present);
    EXPECT_EQ(1u, copied.size);
    EXPECT_EQ(std::string(1, '\0'), copied.bytes);
}

TEST(MainDialogClipboardTest, TypedTextIsCopiedAsTyped)
{
    MainDialogDriver dialog;
    HWND box = dialog.main.Item(IDC_CONTENTS);
    for (char typed : std::string("typed\rline"))
        SendMessageA(box, WM_CHAR, static_cast<unsigned char>(typed), 1);
    const std::string shown = dialog.Contents();
    ASSERT_EQ("typed\r\nline", shown);
    dialog.Click(IDC_CLIPBOARD);
    const ClipboardText copied = ReadClipboardText();
    ASSERT_TRUE(copied.present);
    EXPECT_EQ(2 * shown.size(), copied.size);
    EXPECT_EQ(ZeroPadded(shown, 2 * shown.size()), copied.bytes);
}

TEST(MainDialogClipboardTest, CharactersBeyondAsciiKeepTheirCodePageBytes)
{
    MainDialogDriver dialog;
    dialog.SetText(IDC_CONTENTS, "caf\xC3\xA9\r\nGr\xC3\xBC\xC3\x9F" "e\r\n");
    dialog.Click(IDC_CLIPBOARD);
    // In the test prefix's system code page, 1252, whatever this process's is.
    const std::string text = "caf\xE9\r\nGr\xFC\xDF" "e\r\n";
    const ClipboardText copied = ReadClipboardText();
    ASSERT_TRUE(copied.present);
    EXPECT_EQ(ZeroPadded(text, 2 * text.size()), copied.bytes);
}

TEST(MainDialogClipboardTest, AnsiEntryHasAQuestionMarkForEachCharacterTheCodePageLacks)
{
    EXPECT_EQ("caf\xE9 Gr\xFC\xDF" "e", TextInCodePage(L"caf\u00e9 Gr\u00fc\u00dfe", 1252));
    // Not "O\xB5??a": no look-alikes. One "?" for a character beyond the BMP.
    EXPECT_EQ("????? ?!", TextInCodePage(L"\u03a9\u03bc\u03ad\u03b3\u03b1 \U0001F600!", 1252));
    EXPECT_EQ("a?b?c", TextInCodePage(L"a\xDC00" L"b\xD800" L"c", 1252));
    EXPECT_EQ("\xCE\xA9 \xF0\x9F\x98\x80", TextInCodePage(L"\u03a9 \U0001F600", CP_UTF8));
}

TEST(MainDialogClipboardTest, ClipboardHeldByAnotherWindowIsLeftAlone)
{
    MainDialogDriver dialog;
    dialog.SetText(IDC_CONTENTS, "not copied");
    PutOnClipboard("previous");
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.opened);
        EXPECT_EQ(0, CopyToClipboard(dialog));
        dialog.Click(IDC_CLIPBOARD);
    }
    const ClipboardText kept = ReadClipboardText();
    ASSERT_TRUE(kept.present);
    EXPECT_EQ(std::string("previous\0", 9), kept.bytes.substr(0, 9));
    EXPECT_NE(dialog.main.window, GetClipboardOwner());
}

TEST(MainDialogClipboardTest, MissingContentsBoxFailsWithTheClipboardUntouched)
{
    MainDialogDriver dialog;
    PutOnClipboard("previous");
    DestroyWindow(dialog.main.Item(IDC_CONTENTS));
    EXPECT_EQ(-1, CopyToClipboard(dialog));
    const ClipboardText kept = ReadClipboardText();
    ASSERT_TRUE(kept.present);
    EXPECT_EQ(std::string("previous\0", 9), kept.bytes.substr(0, 9));
}

// Allocations seen by the clipboard export, answered by GlobalAlloc or not.
struct AllocationLog {
    size_t failures = 0;  // of the first requests
    std::vector<std::pair<UINT, SIZE_T>> requests;

    BlockAllocator Allocator()
    {
        return [this](UINT flags, SIZE_T size) -> HGLOBAL {
            requests.emplace_back(flags, size);
            return requests.size() <= failures ? nullptr : GlobalAlloc(flags, size);
        };
    }
};

TEST(MainDialogClipboardTest, BlockIsMovableZeroFilledAndTwiceTheText)
{
    OwnerWindow owner;
    AllocationLog log;
    EXPECT_TRUE(PlaceTextOnClipboard(owner, L"abc", log.Allocator()));
    ASSERT_EQ(3u, log.requests.size());
    EXPECT_EQ(UINT(GMEM_MOVEABLE | GMEM_ZEROINIT), log.requests[0].first);
    EXPECT_EQ(8u, log.requests[0].second) << "CF_UNICODETEXT";
    EXPECT_EQ(UINT(GMEM_MOVEABLE | GMEM_ZEROINIT), log.requests[1].first);
    EXPECT_EQ(6u, log.requests[1].second) << "CF_TEXT";
    EXPECT_EQ(sizeof(LCID), log.requests[2].second) << "CF_LOCALE";
    EXPECT_EQ(ZeroPadded("abc", 6), ReadClipboardText().bytes);
    EXPECT_EQ(std::string("a\0b\0c\0\0\0", 8), ReadClipboardText(CF_UNICODETEXT).bytes);
    // The code page of CF_TEXT, told by the system's locale.
    const LCID system = GetSystemDefaultLCID();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&system), sizeof(system)), ReadClipboardText(CF_LOCALE).bytes);
}

TEST(MainDialogClipboardTest, FailedAllocationLeavesAnEmptyClipboard)
{
    PutOnClipboard("previous");
    OwnerWindow owner;
    AllocationLog log;
    log.failures = 2;
    EXPECT_TRUE(PlaceTextOnClipboard(owner, L"abc", log.Allocator()));
    EXPECT_EQ(2u, log.requests.size());
    // No entry at all, not one promising to be rendered later.
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(ReadClipboardText().present);
    EXPECT_EQ(HWND(owner), GetClipboardOwner());
}

TEST(MainDialogClipboardTest, EntryWithoutABlockIsLeftOutAndTheOtherGoesOn)
{
    OwnerWindow owner;
    AllocationLog log;
    log.failures = 1;
    EXPECT_TRUE(PlaceTextOnClipboard(owner, L"abc", log.Allocator()));
    EXPECT_EQ(ZeroPadded("abc", 6), ReadClipboardText().bytes);
}

TEST(MainDialogClipboardTest, ClipboardThatCannotBeOpenedAllocatesNothing)
{
    PutOnClipboard("previous");
    OwnerWindow owner;
    AllocationLog log;
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.opened);
        EXPECT_FALSE(PlaceTextOnClipboard(owner, L"abc", log.Allocator()));
    }
    EXPECT_TRUE(log.requests.empty());
    EXPECT_EQ(std::string("previous\0", 9), ReadClipboardText().bytes.substr(0, 9));
}

}  // namespace
