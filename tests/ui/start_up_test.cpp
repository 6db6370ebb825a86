// The real Quarvel.exe started as a shell would start it: the show command of
// the start-up information reaches the main dialog unchanged, and arguments on
// the command line change nothing. 64-bit only: a 32-bit process start costs
// tens of seconds under emulation here, and the end-to-end suite starts the
// 32-bit program anyway.
#include <windows.h>

#include <gtest/gtest.h>

#include "tools/child_process.h"

#if defined(_WIN64)

namespace {

DWORD CancelAndWait(ChildProcess& quarvel, HWND dialog)
{
    quarvel.Close(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    return quarvel.ExitCode();
}

TEST(StartUpTest, ShowCommandOfTheStartUpInformationReachesTheDialog)
{
    ChildProcess quarvel(ProgramBeside(QUARVEL_EXE_NAME), "", STARTF_USESHOWWINDOW, SW_SHOWMINNOACTIVE);
    HWND dialog = quarvel.WaitForVisibleWindow(30000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(IsIconic(dialog));
    EXPECT_EQ(2u, CancelAndWait(quarvel, dialog));
}

TEST(StartUpTest, ShowWindowIgnoredWithoutTheFlagAndArgumentsChangeNothing)
{
    // Without STARTF_USESHOWWINDOW the runtime passes SW_SHOWDEFAULT,
    // whatever wShowWindow holds.
    ChildProcess quarvel(ProgramBeside(QUARVEL_EXE_NAME), "--minimised /x 129 \"a b\"", 0, SW_SHOWMINNOACTIVE);
    HWND dialog = quarvel.WaitForVisibleWindow(30000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_NE(nullptr, GetDlgItem(dialog, 1005));
    EXPECT_EQ(2u, CancelAndWait(quarvel, dialog));
}

}  // namespace

#endif
