#include "app/dialog_base.h"

#include "app/module.h"

static_assert(sizeof(CreateRecord) <= kTrampolineStorageSize,
              "the create record lives in the trampoline storage");

RoutingProc DialogBase::GetRoutingProcedure()
{
    return RoutingProcedure;
}

BOOL DialogBase::WriteTrampoline(RoutingProc target)
{
    return trampolineCode.Write(this, reinterpret_cast<const void*>(target));
}

void DialogBase::AfterLastMessage(HWND /*window*/)
{
}

DialogBase::~DialogBase()
{
    appModule.UnlinkCreateRecord(Record());
}

HWND DialogBase::CreateModeless(HINSTANCE instance, LPCWSTR templateName, HWND owner)
{
    appModule.RegisterCreateRecord(Record(), this);
    return CreateDialogParamW(instance, templateName, owner, BindingProcedure, 0);
}

HWND DialogBase::CreateModelessIndirect(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner)
{
    appModule.RegisterCreateRecord(Record(), this);
    return CreateDialogIndirectParamW(instance, dialogTemplate, owner, BindingProcedure, 0);
}

INT_PTR DialogBase::RunModal(HINSTANCE instance, LPCWSTR templateName, HWND owner)
{
    appModule.RegisterCreateRecord(Record(), this);
    return DialogBoxParamW(instance, templateName, owner, BindingProcedure, 0);
}

INT_PTR DialogBase::RunModalIndirect(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner)
{
    appModule.RegisterCreateRecord(Record(), this);
    return DialogBoxIndirectParamW(instance, dialogTemplate, owner, BindingProcedure, 0);
}

bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK BindingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CreateRecord* record = appModule.TakeCreateRecord(GetCurrentThreadId());
    // A window created without a registered object stays unbound and gets the
    // dialog manager's default handling.
    if (!record)
        return FALSE;
    DialogBase* object = record->object;
    object->window = window;
    const RoutingProc target = object->GetRoutingProcedure();
    if (!object->WriteTrampoline(target)) {
        // Nothing could ever answer this window: a modal box ends before it
        // shows (its owner enabled again), and a modeless one is left to its
        // creator to destroy.
        object->window = nullptr;
        EndDialog(window, -1);
        return FALSE;
    }
    const DLGPROC trampoline = object->trampolineCode.Procedure();
    // Set wide, as the window was made: a procedure set through the other
    // variant would have every message's text translated on its way.
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(trampoline));
    // The first message goes the same way as every later one.
    return trampoline(window, message, wParam, lParam);
}

INT_PTR CALLBACK RoutingProcedure(DialogBase* object, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG current = {};
    current.hwnd = object->window;
    current.message = message;
    current.wParam = wParam;
    current.lParam = lParam;
    const MSG* previous = object->currentMessage;
    object->currentMessage = &current;
    LRESULT result = 0;
    BOOL handled = FALSE;
    // The one place where the program's code meets the system's frames: an
    // exception must not unwind through them. The message then counts as not
    // handled, and the dialog goes on.
    try {
        handled = object->HandleMessage(object->window, message, wParam, lParam, result, 0);
    } catch (...) {
        handled = FALSE;
    }
    object->currentMessage = previous;

    if (handled) {
        if (ReturnsResultDirectly(message))
            return INT_PTR(result);
        SetWindowLongPtrW(object->window, DWLP_MSGRESULT, LONG_PTR(result));
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        HWND last = object->window;
        object->window = nullptr;
        object->AfterLastMessage(last);
    }
    return FALSE;
}
