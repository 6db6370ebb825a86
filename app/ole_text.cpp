#include "app/ole_text.h"

#include <climits>
#include <cstring>

OleText::~OleText()
{
    SysFreeString(text);
}

OleText::OleText(OleText&& other) noexcept : text(other.text)
{
    other.text = nullptr;
}

OleText& OleText::operator=(OleText&& other) noexcept
{
    if (this != &other) {
        SysFreeString(text);
        text = other.text;
        other.text = nullptr;
    }
    return *this;
}

OleText OleText::FromWide(const std::wstring& wide)
{
    if (wide.size() > UINT_MAX)
        return OleText();
    return OleText(SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size())));
}

OleText OleText::FromAnsi(const std::string& ansi, UINT codePage)
{
    const std::wstring wide = AnsiToWide(ansi, codePage);
    if (wide.empty() && !ansi.empty())
        return OleText();
    return FromWide(wide);
}

UINT OleText::Length() const
{
    return text ? SysStringLen(text) : 0;
}

HRESULT OleText::Append(const wchar_t* added, UINT addedLength)
{
    const UINT oldLength = Length();
    if (addedLength > UINT_MAX - oldLength)
        return E_OUTOFMEMORY;
    BSTR joined = SysAllocStringLen(nullptr, oldLength + addedLength);
    if (!joined)
        return E_OUTOFMEMORY;
    if (oldLength)
        std::memcpy(joined, text, oldLength * sizeof(wchar_t));
    if (addedLength)
        std::memcpy(joined + oldLength, added, addedLength * sizeof(wchar_t));
    joined[oldLength + addedLength] = L'\0';
    SysFreeString(text);
    text = joined;
    return S_OK;
}

std::string OleText::ToAnsi(UINT codePage) const
{
    return WideToAnsi(text, Length(), codePage);
}
