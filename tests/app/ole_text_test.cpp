#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/ole_text.h"

namespace {

std::wstring Contents(const OleText& text)
{
    return std::wstring(text.Get(), text.Length());
}

TEST(OleTextTest, FromWideOwnsACountedTerminatedCopy)
{
    std::wstring source = L"alpha";
    const OleText text = OleText::FromWide(source);
    ASSERT_TRUE(text);
    source[0] = L'X';
    EXPECT_EQ(5u, text.Length());
    EXPECT_EQ(5u, SysStringLen(text.Get()));
    EXPECT_EQ(L"alpha", Contents(text));
    EXPECT_EQ(L'\0', text.Get()[5]);
}

TEST(OleTextTest, EmptyTextIsAnAllocatedEmptyString)
{
    const OleText fromWide = OleText::FromWide(L"");
    ASSERT_TRUE(fromWide);
    EXPECT_EQ(0u, fromWide.Length());
    EXPECT_EQ(L'\0', fromWide.Get()[0]);

    const OleText fromAnsi = OleText::FromAnsi("", CP_ACP);
    ASSERT_TRUE(fromAnsi);
    EXPECT_EQ(0u, fromAnsi.Length());
}

TEST(OleTextTest, AppendJoinsAndTerminates)
{
    OleText text = OleText::FromWide(L"alpha");
    EXPECT_EQ(S_OK, text.Append(L"\r\nbeta", 6));
    EXPECT_EQ(L"alpha\r\nbeta", Contents(text));
    EXPECT_EQ(11u, SysStringLen(text.Get()));
    EXPECT_EQ(L'\0', text.Get()[11]);

    // Only the given count of characters is taken.
    EXPECT_EQ(S_OK, text.Append(L"!?", 1));
    EXPECT_EQ(L"alpha\r\nbeta!", Contents(text));
    EXPECT_EQ(S_OK, text.Append(L"ignored", 0));
    EXPECT_EQ(L"alpha\r\nbeta!", Contents(text));
}

TEST(OleTextTest, FirstAppendStartsAString)
{
    OleText text;
    EXPECT_FALSE(text);
    EXPECT_EQ(0u, text.Length());
    EXPECT_EQ(S_OK, text.Append(L"beta", 4));
    ASSERT_TRUE(text);
    EXPECT_EQ(L"beta", Contents(text));
}

TEST(OleTextTest, AppendThatCannotBeAllocatedKeepsTheOldString)
{
    OleText text = OleText::FromWide(L"kept");
    const BSTR before = text.Get();
    // More characters than any system string can hold: the allocation fails
    // before a single one of them is read.
    EXPECT_EQ(E_OUTOFMEMORY, text.Append(L"x", 0x7FFFFFFFu));
    EXPECT_EQ(before, text.Get());
    EXPECT_EQ(L"kept", Contents(text));
    // A length whose sum with the old one does not fit at all.
    EXPECT_EQ(E_OUTOFMEMORY, text.Append(L"x", 0xFFFFFFFFu));
    EXPECT_EQ(L"kept", Contents(text));
}

TEST(OleTextTest, MovingHandsTheStringOn)
{
    OleText first = OleText::FromWide(L"first");
    const BSTR string = first.Get();
    OleText second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(string, second.Get());

    OleText third = OleText::FromWide(L"third");
    third = std::move(second);
    EXPECT_FALSE(second);
    EXPECT_EQ(string, third.Get());
    EXPECT_EQ(L"first", Contents(third));
}

// Each case: wide text and the bytes it has in one code page.
struct Encoded {
    UINT codePage;
    std::wstring wide;
    std::string bytes;
};

void ExpectBothWays(const Encoded& sample)
{
    if (!IsValidCodePage(sample.codePage)) {
        GTEST_SKIP() << "code page " << sample.codePage << " is not installed";
    }
    EXPECT_EQ(sample.bytes, WideToAnsi(sample.wide.data(), sample.wide.size(), sample.codePage));
    EXPECT_EQ(sample.wide, AnsiToWide(sample.bytes, sample.codePage));
    const OleText text = OleText::FromAnsi(sample.bytes, sample.codePage);
    ASSERT_TRUE(text);
    EXPECT_EQ(sample.wide, Contents(text));
    EXPECT_EQ(sample.bytes, text.ToAnsi(sample.codePage));
}

TEST(AnsiConversionTest, WesternEuropean)
{
    ExpectBothWays({1252, L"caf\u00e9 na\u00efve Gr\u00fc\u00dfe\r\n", "caf\xE9 na\xEFve Gr\xFC\xDF" "e\r\n"});
}

TEST(AnsiConversionTest, Utf8NeedsMoreThanTwoBytesPerCharacter)
{
    // Three characters of three bytes each: more than the 2 x 3 + 2 bytes a
    // buffer sized from the wide length would have had.
    const Encoded sample = {CP_UTF8, L"\u65e5\u672c\u8a9e", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"};
    EXPECT_GT(sample.bytes.size(), 2 * sample.wide.size() + 2);
    ExpectBothWays(sample);
    ExpectBothWays({CP_UTF8, L"caf\u00e9 \U0001F600\r\n", "caf\xC3\xA9 \xF0\x9F\x98\x80\r\n"});
}

TEST(AnsiConversionTest, DoubleByteJapanese)
{
    ExpectBothWays({932, L"\u65e5\u672c abc", "\x93\xfa\x96\x7b abc"});
}

TEST(AnsiConversionTest, CharacterOutsideTheCodePageBecomesTheSystemReplacement)
{
    EXPECT_EQ("a?b", WideToAnsi(L"a\u65e5b", 3, 1252));
}

TEST(AnsiConversionTest, LoneHalfOfAPairBecomesTheReplacementCharacterInUtf8)
{
    const std::wstring wide = std::wstring(L"a\xD800" L"b\xDC00") + L"c \U0001F600";
    EXPECT_EQ("a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c \xF0\x9F\x98\x80", WideToAnsi(wide.data(), wide.size(), CP_UTF8));
}

TEST(AnsiConversionTest, NothingToConvertOrNoConverterGivesEmptyText)
{
    EXPECT_EQ("", WideToAnsi(L"", 0, CP_UTF8));
    EXPECT_EQ("", WideToAnsi(nullptr, 4, CP_UTF8));
    EXPECT_EQ(L"", AnsiToWide("", CP_UTF8));
    // No such code page.
    EXPECT_EQ("", WideToAnsi(L"abc", 3, 12345));
    EXPECT_FALSE(OleText::FromAnsi("abc", 12345));
}

}  // namespace
