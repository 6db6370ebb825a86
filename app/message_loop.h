// The per-thread message loop: message filters are asked before translation and
// dispatch, and idle handlers run once whenever the queue runs dry after a
// message that restarts idle processing.
#pragma once

#include <windows.h>

#include "app/containers.h"

class MessageFilter {
public:
    // Nonzero when the filter dealt with the message, which is then neither
    // translated nor dispatched.
    virtual BOOL FilterMessage(MSG* message) = 0;

protected:
    ~MessageFilter() = default;
};

class IdleHandler {
public:
    virtual BOOL DoIdle() = 0;

protected:
    ~IdleHandler() = default;
};

// Where the loop gets its messages from. The system queue is the only source
// the program uses; tests script one to drive the loop's bookkeeping exactly.
class MessageSource {
public:
    virtual BOOL Peek(MSG* message) = 0;  // look without removing
    virtual BOOL Get(MSG* message) = 0;   // wait and remove: -1, 0 for WM_QUIT, else nonzero
    virtual void Translate(const MSG* message) = 0;
    virtual void Dispatch(const MSG* message) = 0;

protected:
    ~MessageSource() = default;
};

class SystemMessageSource final : public MessageSource {
public:
    BOOL Peek(MSG* message) override;
    BOOL Get(MSG* message) override;
    void Translate(const MSG* message) override;
    void Dispatch(const MSG* message) override;
};

// Mouse moves, paints and the system-internal 0x0118 arrive in streams; they
// never make an idle pass due.
bool RestartsIdle(UINT message);

class MessageLoop {
public:
    GrowArray<MessageFilter*> filters;
    GrowArray<IdleHandler*> idleHandlers;
    MSG lastMessage;

    explicit MessageLoop(MessageSource* scripted = nullptr);
    virtual ~MessageLoop();
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    virtual BOOL PreprocessMessage(MSG* message);
    virtual BOOL IdleStep(int idleCalls);

    BOOL RegisterFilter(MessageFilter* filter);
    BOOL RegisterIdleHandler(IdleHandler* handler);
    int RunLoop();

private:
    SystemMessageSource systemSource;
    MessageSource* source;
};
