#include "inspector/ole_text.h"

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

std::wstring AnsiToWide(const std::string& ansi, UINT codePage)
{
    if (ansi.empty() || ansi.size() > INT_MAX)
        return std::wstring();
    const int inLength = static_cast<int>(ansi.size());
    const int size = MultiByteToWideChar(codePage, 0, ansi.data(), inLength, nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, 0, ansi.data(), inLength, &wide[0], size) != size)
        return std::wstring();
    return wide;
}

namespace {

std::string Convert(const wchar_t* wide, size_t length, UINT codePage, DWORD flags, const char* replacement)
{
    if (!wide || length == 0 || length > INT_MAX)
        return std::string();
    const int inLength = static_cast<int>(length);
    const int size = WideCharToMultiByte(codePage, flags, wide, inLength, nullptr, 0, replacement, nullptr);
    if (size <= 0)
        return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, wide, inLength, &ansi[0], size, replacement, nullptr) != size)
        return std::string();
    return ansi;
}

}  // namespace

std::string WideToAnsi(const wchar_t* wide, size_t length, UINT codePage)
{
    return Convert(wide, length, codePage, 0, nullptr);
}

std::string WideToAnsiWithoutLookAlikes(const wchar_t* wide, size_t length, UINT codePage)
{
    return Convert(wide, length, codePage, WC_NO_BEST_FIT_CHARS, "?");
}
