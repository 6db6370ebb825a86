#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/arguments.h"

namespace {

ParsedArguments Parse(std::vector<std::wstring> arguments)
{
    return ParseArguments(arguments);
}

TEST(ArgumentsTest, HandleIsHexAsTheDialogShowsItOrDecimal)
{
    const ParsedArguments hex = Parse({L"0x1A2b"});
    EXPECT_EQ(L"", hex.error);
    EXPECT_EQ(Target::window, hex.request.target);
    EXPECT_EQ(0x1A2BUL, hex.request.handle);
    EXPECT_EQ(4294967295UL, Parse({L"4294967295"}).request.handle);
    for (const wchar_t* wrong : {L"0x", L"12ab", L"-5", L"0", L"4294967296", L"0x100000000", L"0x12g"})
        EXPECT_NE(L"", Parse({wrong}).error) << wrong;
}

TEST(ArgumentsTest, FindTakesItsTitleClassAndNthWithTheOutputOptions)
{
    const ParsedArguments parsed = Parse({L"--format", L"csv", L"--find", L"T\u00e2che --x", L"--class", L"listview",
                                          L"--nth", L"3", L"--timeout", L"250", L"--utf16"});
    ASSERT_EQ(L"", parsed.error);
    const Request& request = parsed.request;
    EXPECT_EQ(Target::find, request.target);
    EXPECT_EQ(L"T\u00e2che --x", request.title);
    EXPECT_EQ(L"listview", request.className);
    EXPECT_EQ(3UL, request.nth);
    EXPECT_EQ(OutputFormat::csv, request.format);
    EXPECT_EQ(250U, request.timeout);
    EXPECT_TRUE(request.utf16);
    EXPECT_FALSE(request.countOnly);
}

TEST(ArgumentsTest, DefaultsAreTextTheDialogsTimeoutAndTheFirstControl)
{
    const Request request = Parse({L"--count", L"42"}).request;
    EXPECT_TRUE(request.countOnly);
    EXPECT_EQ(OutputFormat::text, request.format);
    EXPECT_EQ(kListReplyTimeout, request.timeout);
    EXPECT_EQ(1UL, request.nth);
}

TEST(ArgumentsTest, PointIsTwoSignedNumbers)
{
    const Request request = Parse({L"--at", L"-20,315"}).request;
    EXPECT_EQ(Target::point, request.target);
    EXPECT_EQ(-20L, request.x);
    EXPECT_EQ(315L, request.y);
    for (const wchar_t* wrong : {L"20", L"20,", L",5", L"1,2,3", L"a,b"})
        EXPECT_NE(L"", Parse({L"--at", wrong}).error) << wrong;
}

TEST(ArgumentsTest, ListTakesAnOptionalTitleButNoReadingOptions)
{
    EXPECT_EQ(L"Task", Parse({L"--list", L"Task"}).request.title);
    const ParsedArguments bare = Parse({L"--list", L"--timeout", L"9"});
    EXPECT_EQ(L"", bare.error);
    EXPECT_EQ(Target::list, bare.request.target);
    EXPECT_EQ(L"", bare.request.title);
    EXPECT_NE(L"", Parse({L"--list", L"--count"}).error);
    EXPECT_NE(L"", Parse({L"--list", L"--format", L"json"}).error);
}

TEST(ArgumentsTest, MistakesGiveOneLineOfError)
{
    const std::vector<std::vector<std::wstring>> wrong = {
        {},
        {L"--count"},
        {L"0x10", L"0x20"},
        {L"0x10", L"--find", L"x"},
        {L"--find"},
        {L"--format", L"xml", L"0x10"},
        {L"--timeout", L"0", L"0x10"},
        {L"--timeout", L"3600001", L"0x10"},
        {L"--nth", L"0", L"--find", L"x"},
        {L"--class", L"listbox", L"0x10"},
        {L"--bogus", L"0x10"},
    };
    for (const auto& arguments : wrong) {
        const std::wstring error = Parse(arguments).error;
        EXPECT_NE(L"", error) << arguments.size();
        EXPECT_EQ(std::wstring::npos, error.find(L'\n')) << error;
    }
}

TEST(ArgumentsTest, HelpAndVersionWinOverAnythingElse)
{
    EXPECT_EQ(Target::help, Parse({L"--bogus", L"--help"}).request.target);
    EXPECT_EQ(L"", Parse({L"--bogus", L"--help"}).error);
    EXPECT_EQ(Target::version, Parse({L"--version"}).request.target);
}

}  // namespace
