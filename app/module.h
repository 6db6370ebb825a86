// The process-wide module state: the resources, the dialogs being created and
// the message loop of each thread.
#pragma once

#include <windows.h>

#include "app/containers.h"

class DialogBase;
class MessageLoop;
struct CreateRecord;

using LoopRegistry = KeyMap<DWORD, MessageLoop*>;

class AppModule {
public:
    HINSTANCE resourceInstance = nullptr;
    CRITICAL_SECTION creationLock;
    CreateRecord* createRecordList = nullptr;
    LoopRegistry* loopRegistry = nullptr;

    void Initialize(HINSTANCE instance);
    void Shutdown();

    BOOL RegisterLoop(MessageLoop* loop);
    BOOL UnregisterLoop();
    MessageLoop* LoopForThread(DWORD threadId);

    // Links the record for the object on the calling thread, newest first.
    void RegisterCreateRecord(CreateRecord* record, DialogBase* object);
    // Takes out the newest record of the thread; none when it has no record.
    CreateRecord* TakeCreateRecord(DWORD threadId);
    // Takes out a record whose window never received a first message.
    BOOL UnlinkCreateRecord(CreateRecord* record);
};

// The one module object of the process.
extern AppModule appModule;
