#include "ui/run_application.h"

#include "app/message_loop.h"
#include "app/module.h"
#include "res/resource.h"
#include "ui/main_dialog.h"

namespace {

// Creates, shows and runs the main dialog; 0 when its window cannot be made.
int RunMainDialog(MainDialog& dialog, MessageLoop& loop, int showCommand)
{
    HWND window = dialog.CreateModeless(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_MAIN));
    if (!window)
        return 0;  // a record never taken is unlinked when the dialog ends
    if (!dialog.window) {
        // Created but never bound (no memory for its trampoline): nothing
        // would ever show it or end the loop.
        DestroyWindow(window);
        return 0;
    }
    ShowWindow(dialog.window, showCommand);
    const int exitCode = loop.RunLoop();
    // Only the dialog's own cancel posts a quit message, after destroying the
    // window. A quit from elsewhere must not leave a window whose trampoline
    // points at an object about to end.
    if (dialog.window)
        DestroyWindow(dialog.window);
    return exitCode;
}

}  // namespace

int RunApplication(LPSTR /*commandLine*/, int showCommand)
{
    MessageLoop loop;
    // The dialog's initialisation finds its loop through the registry; without
    // one there is nothing to run.
    if (!appModule.RegisterLoop(&loop))
        return 0;
    MainDialog dialog;
    const int exitCode = RunMainDialog(dialog, loop, showCommand);
    appModule.UnregisterLoop();
    return exitCode;
}  // the dialog ends here, then the loop
