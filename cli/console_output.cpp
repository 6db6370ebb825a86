#include "cli/console_output.h"

#include "app/code_page.h"

namespace {

// Small enough for every console's buffer, whatever its version.
constexpr std::size_t kConsoleChunk = 8192;

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

// A chunk never ends between the halves of a surrogate pair.
bool WriteToConsole(HANDLE console, const std::wstring& text)
{
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = text.size() - at < kConsoleChunk ? text.size() - at : kConsoleChunk;
        const wchar_t last = text[at + length - 1];
        if (length > 1 && at + length < text.size() && last >= 0xD800 && last <= 0xDBFF)
            --length;
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data() + at, static_cast<DWORD>(length), &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return true;
}

bool WriteBytes(HANDLE file, const std::string& bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t rest = bytes.size() - at;
        const DWORD length = rest < 0x10000000 ? static_cast<DWORD>(rest) : 0x10000000;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + at, length, &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return true;
}

}  // namespace

std::string EncodedBytes(const std::wstring& text, Encoding encoding)
{
    if (encoding == Encoding::utf8)
        return WideToAnsi(text.c_str(), text.size(), CP_UTF8);
    std::string bytes("\xFF\xFE", 2);
    bytes.reserve(2 + 2 * text.size());
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

bool WriteText(DWORD which, const std::wstring& text, Encoding encoding)
{
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    if (IsConsole(handle))
        return WriteToConsole(handle, text);
    return WriteBytes(handle, EncodedBytes(text, encoding));
}
