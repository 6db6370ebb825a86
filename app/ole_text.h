// An owned system string (BSTR): length-counted, zero-terminated, allocated
// and freed by the automation string functions. One holder frees it; moving
// hands it on.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "app/code_page.h"

class OleText {
public:
    OleText() = default;
    // Takes over a string from SysAllocString*; null means no string.
    explicit OleText(BSTR owned) : text(owned) {}
    ~OleText();

    OleText(OleText&& other) noexcept;
    OleText& operator=(OleText&& other) noexcept;
    OleText(const OleText&) = delete;
    OleText& operator=(const OleText&) = delete;

    // No string when the allocation fails.
    static OleText FromWide(const std::wstring& wide);
    // ANSI text in the given code page; no string when the conversion or the
    // allocation fails. Empty text gives an allocated empty string.
    static OleText FromAnsi(const std::string& ansi, UINT codePage);

    // S_OK, or E_OUTOFMEMORY with the old string kept as it was. Without a
    // string yet, the first append starts one.
    HRESULT Append(const wchar_t* added, UINT addedLength);

    explicit operator bool() const { return text != nullptr; }
    BSTR Get() const { return text; }
    // In wide characters; 0 without a string.
    UINT Length() const;
    std::string ToAnsi(UINT codePage) const;

private:
    BSTR text = nullptr;
};
