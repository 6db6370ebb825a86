// Runs the suite as the program runs: COM and the common controls initialised
// and the module set up around every test.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "app/module.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                   ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    appModule.Initialize(GetModuleHandleA(nullptr));
    const int result = RUN_ALL_TESTS();
    appModule.Shutdown();
    CoUninitialize();
    return result;
}
