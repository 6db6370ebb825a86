#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "readers/sliced_read.h"
#include "tests/support/scripted_reader.h"

namespace {

using list_test::ScriptedReader;

// A message sent to the caller while a slice waits on the other program can
// ask to go on or to cancel; neither may pull the read from under the slice.
TEST(SlicedReadTest, ContinueOrCancelFromInsideASliceTakeEffectWhenItReturns)
{
    SlicedRead* self = nullptr;
    ReadState nested = ReadState::done;
    ScriptedReader::Script script;
    script.duringStep = [&](int step) {
        if (step == 1)
            nested = self->Continue();
        if (step == 2)
            self->Cancel();
    };
    SlicedRead read(std::make_unique<ScriptedReader>(script), nullptr, 0, 10000);
    self = &read;
    EXPECT_EQ(ReadState::cancelled, read.Continue());
    EXPECT_EQ(ReadState::reading, nested);
    EXPECT_EQ(3, read.Handled()) << "the step under way ends, then the read";
    EXPECT_EQ(0, ScriptedReader::alive);
    EXPECT_EQ(ReadState::cancelled, read.Continue());
}

TEST(SlicedReadTest, AThrowingReaderEndsTheReadWithWhatItHad)
{
    ScriptedReader::Script script;
    script.throwAt = 4;
    SlicedRead read(std::make_unique<ScriptedReader>(script), nullptr, 0, 10000);
    ASSERT_EQ(ReadState::done, read.Continue());
    EXPECT_EQ(ReadEnd::noMemory, read.Ending());
    EXPECT_STREQ(L"item 0\r\nitem 1\r\nitem 2\r\nitem 3\r\n", read.Text());
    EXPECT_EQ(0, ScriptedReader::alive);
    EXPECT_EQ(L"ListBox contains 6 items, read cut short: out of memory",
              CutShortSentence(read.Kind(), read.Expected(), read.Ending()));
    EXPECT_EQ(L"", CutShortSentence(read.Kind(), read.Expected(), ReadEnd::silent));
}

}  // namespace
