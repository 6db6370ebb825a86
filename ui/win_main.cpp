// The process's GUI entry: the runtime derives the show command from the
// start-up information and turns the return value into the exit code.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/module.h"
#include "ui/run_application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int showCommand)
{
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    appModule.Initialize(instance);
    const int exitCode = RunApplication(commandLine, showCommand);
    appModule.Shutdown();
    CoUninitialize();
    return exitCode;
}
