#include "app/message_loop.h"

// Wide throughout: a character typed into a Unicode window would otherwise
// pass through the process's code page between the queue and the window, and
// one the code page lacks would arrive as "?".

BOOL SystemMessageSource::Peek(MSG* message)
{
    return PeekMessageW(message, nullptr, 0, 0, PM_NOREMOVE);
}

BOOL SystemMessageSource::Get(MSG* message)
{
    return GetMessageW(message, nullptr, 0, 0);
}

void SystemMessageSource::Translate(const MSG* message)
{
    TranslateMessage(message);
}

void SystemMessageSource::Dispatch(const MSG* message)
{
    DispatchMessageW(message);
}

bool RestartsIdle(UINT message)
{
    switch (message) {
    case WM_PAINT:
    case WM_NCMOUSEMOVE:
    case 0x0118:
    case WM_MOUSEMOVE:
        return false;
    default:
        return true;
    }
}

MessageLoop::MessageLoop(MessageSource* scripted)
    : lastMessage(), source(scripted ? scripted : &systemSource)
{
}

MessageLoop::~MessageLoop()
{
    idleHandlers.Clear();
    filters.Clear();
}

BOOL MessageLoop::RegisterFilter(MessageFilter* filter)
{
    return filters.Append(filter);
}

BOOL MessageLoop::RegisterIdleHandler(IdleHandler* handler)
{
    return idleHandlers.Append(handler);
}

BOOL MessageLoop::PreprocessMessage(MSG* message)
{
    // Newest filter first. The count is read once, each element afresh: a
    // filter registered during the walk is asked from the next message on.
    const int count = filters.count;
    for (int i = count - 1; i >= 0; --i) {
        MessageFilter* filter = filters[i];
        if (filter && filter->FilterMessage(message))
            return TRUE;
    }
    return FALSE;
}

BOOL MessageLoop::IdleStep(int /*idleCalls*/)
{
    // The count is read before every step, so a handler registered by another
    // handler is called in the same pass.
    for (int i = 0; i < idleHandlers.count; ++i) {
        IdleHandler* handler = idleHandlers[i];
        if (handler)
            handler->DoIdle();
    }
    return FALSE;
}

int MessageLoop::RunLoop()
{
    BOOL idlePending = TRUE;
    int idleCalls = 0;
    for (;;) {
        while (!source->Peek(&lastMessage) && idlePending) {
            if (!IdleStep(idleCalls++))
                idlePending = FALSE;
        }

        const BOOL got = source->Get(&lastMessage);
        if (got == -1)
            continue;
        if (got == 0)
            return int(lastMessage.wParam);

        if (!PreprocessMessage(&lastMessage)) {
            source->Translate(&lastMessage);
            source->Dispatch(&lastMessage);
        }

        if (RestartsIdle(lastMessage.message)) {
            idlePending = TRUE;
            idleCalls = 0;
        }
    }
}
