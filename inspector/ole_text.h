// An owned system string (BSTR): length-counted, zero-terminated, allocated
// and freed by the automation string functions. One holder frees it; moving
// hands it on.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

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

// The conversions size their output by asking the converter first, so a
// multi-byte code page such as UTF-8 never overflows a guessed buffer. No
// default character is given: the system's own replacement applies (in UTF-8
// a lone half of a surrogate pair becomes U+FFFD and the rest is kept).
// Failure gives empty text.
std::wstring AnsiToWide(const std::string& ansi, UINT codePage);
std::string WideToAnsi(const wchar_t* wide, size_t length, UINT codePage);
// The same, with "?" for each UTF-16 unit the code page cannot hold, never a
// look-alike ("O" for an omega). Not for UTF-8, which holds every character.
std::string WideToAnsiWithoutLookAlikes(const wchar_t* wide, size_t length, UINT codePage);
