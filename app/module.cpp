#include "app/module.h"

#include <new>

#include "app/dialog_base.h"
#include "app/scoped.h"

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
