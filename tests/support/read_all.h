// A reader read to its end, as the dialog shows what it reads. With
// `questionAtATime` every call may ask one question only, as a slow program's
// slices do: what is read must not change.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "readers/item_reader.h"
#include "readers/tabbed_lines.h"

namespace list_test {

inline std::wstring ReadAll(ItemReader& reader, bool questionAtATime = false)
{
    std::wstring lines;
    TabbedLines sink(lines);
    ReadPace pace;
    if (questionAtATime)
        reader.SetPace(&pace);
    for (int call = 0; call < 1000000; ++call) {
        pace.StartSlice(questionAtATime ? 0 : INFINITE);
        if (!reader.ReadNext(sink))
            return lines;
    }
    ADD_FAILURE() << "the read goes on without end";
    return lines;
}

}  // namespace list_test
