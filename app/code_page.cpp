#include "app/code_page.h"

#include <climits>

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
