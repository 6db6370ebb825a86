// The modal About box: the program's name and version, closed with OK or
// Escape.
#pragma once

#include <windows.h>

#include "app/dialog_base.h"

class AboutDialog final : public DialogBase {
public:
    AboutDialog() = default;
    ~AboutDialog() = default;

    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       DWORD selector) override;
};
