// Binding of dialog objects to their windows and the routing of each window's
// messages to its object. A window is tied to the object that asked for it on
// its first message; from then on a small per-object code stub, the trampoline,
// hands every message to RoutingProcedure with the object in place of the
// window handle, so no table maps windows to objects.
#pragma once

#include <windows.h>

#include "app/trampoline.h"

class DialogBase;

// Links a dialog object to the thread creating its window until the window's
// first message. It occupies the start of the object's trampoline storage.
struct CreateRecord {
    DialogBase* object;
    DWORD threadId;
    CreateRecord* next;
};

using RoutingProc = INT_PTR(CALLBACK*)(DialogBase* object, UINT message, WPARAM wParam, LPARAM lParam);

class DialogBase {
public:
    HWND window = nullptr;
    alignas(CreateRecord) unsigned char trampoline[kTrampolineStorageSize] = {};
    const MSG* currentMessage = nullptr;

    // The class's routing table. TRUE means handled and result written.
    virtual BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result, DWORD selector) = 0;
    virtual RoutingProc GetRoutingProcedure();
    // Writes the stub that routes the window's messages to `target`; FALSE
    // when no memory for it could be had.
    virtual BOOL WriteTrampoline(RoutingProc target);
    virtual void AfterLastMessage(HWND window);

    CreateRecord* Record() { return reinterpret_cast<CreateRecord*>(trampoline); }

    // The object is linked to the next window made on this thread, then the
    // window is made from the template: the two steps are never apart. A
    // window that could not be made leaves the record to the object's end.
    // The windows are Unicode windows: their text never passes through a
    // code page.
    // Defined in dialog_base.cpp.
    HWND CreateModeless(HINSTANCE instance, LPCWSTR templateName, HWND owner = nullptr);
    HWND CreateModelessIndirect(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner = nullptr);
    // Returns once the box has ended, with its result; -1 when it could not
    // be made. A box that cannot be bound ends before it shows.
    INT_PTR RunModal(HINSTANCE instance, LPCWSTR templateName, HWND owner = nullptr);
    INT_PTR RunModalIndirect(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner = nullptr);
    // The address the system calls as the window's dialog procedure once bound.
    DLGPROC BoundProcedure() const { return trampolineCode.Procedure(); }

    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

protected:
    DialogBase() = default;
    // Unlinks the object's record if its window never got a first message, and
    // releases the trampoline code.
    ~DialogBase();

private:
    friend INT_PTR CALLBACK BindingProcedure(HWND, UINT, WPARAM, LPARAM);
    TrampolineCode trampolineCode;
};

INT_PTR CALLBACK BindingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RoutingProcedure(DialogBase* object, UINT message, WPARAM wParam, LPARAM lParam);

// Messages whose handled result is the dialog procedure's own return value;
// every other handled result goes through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message);
