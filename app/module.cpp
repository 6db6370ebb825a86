#include "app/module.h"

#include <new>

#include "app/dialog_base.h"
#include "app/message_loop.h"
#include "app/scoped.h"
#include "inspector/main_dialog.h"
#include "res/resource.h"

AppModule appModule;

void AppModule::Initialize(HINSTANCE instance)
{
    resourceInstance = instance;
    InitializeCriticalSection(&creationLock);
    createRecordList = nullptr;
    loopRegistry = new (std::nothrow) LoopRegistry;
}

void AppModule::Shutdown()
{
    if (loopRegistry) {
        loopRegistry->Clear();
        delete loopRegistry;
        loopRegistry = nullptr;
    }
    DeleteCriticalSection(&creationLock);
}

BOOL AppModule::RegisterLoop(MessageLoop* loop)
{
    if (!loopRegistry)
        return FALSE;
    return loopRegistry->Insert(GetCurrentThreadId(), loop);
}

BOOL AppModule::UnregisterLoop()
{
    if (!loopRegistry)
        return FALSE;
    return loopRegistry->Erase(GetCurrentThreadId());
}

MessageLoop* AppModule::LoopForThread(DWORD threadId)
{
    if (!loopRegistry)
        return nullptr;
    return loopRegistry->ValueOf(threadId);
}

void AppModule::RegisterCreateRecord(CreateRecord* record, DialogBase* object)
{
    record->object = object;
    record->threadId = GetCurrentThreadId();
    ScopedCriticalSection guard(creationLock);
    record->next = createRecordList;
    createRecordList = record;
}

CreateRecord* AppModule::TakeCreateRecord(DWORD threadId)
{
    ScopedCriticalSection guard(creationLock);
    CreateRecord* previous = nullptr;
    for (CreateRecord* record = createRecordList; record; record = record->next) {
        if (record->threadId == threadId) {
            (previous ? previous->next : createRecordList) = record->next;
            return record;
        }
        previous = record;
    }
    return nullptr;
}

BOOL AppModule::UnlinkCreateRecord(CreateRecord* target)
{
    ScopedCriticalSection guard(creationLock);
    CreateRecord* previous = nullptr;
    for (CreateRecord* record = createRecordList; record; record = record->next) {
        if (record == target) {
            (previous ? previous->next : createRecordList) = record->next;
            return TRUE;
        }
        previous = record;
    }
    return FALSE;
}

namespace {

// Creates, shows and runs the main dialog; 0 when its window cannot be made.
int RunMainDialog(MainDialog& dialog, MessageLoop& loop, int showCommand)
{
    HWND window = dialog.CreateModeless(appModule.resourceInstance, MAKEINTRESOURCEA(IDD_MAIN));
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
