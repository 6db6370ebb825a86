#include "cli/json_document.h"

#include <cwchar>

namespace {

constexpr bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendEscaped(std::wstring& json, wchar_t c)
{
    wchar_t escape[8] = {};
    std::swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c));
    json += escape;
}

void AppendStrings(std::wstring& json, const std::wstring* texts, std::size_t count)
{
    json += L'[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            json += L',';
        AppendJsonString(json, texts[i]);
    }
    json += L']';
}

}  // namespace

void AppendJsonString(std::wstring& json, const std::wstring& text)
{
    json += L'"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool pair = IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        if (pair) {
            json += c;
            json += text[++i];
        } else if (c == L'"' || c == L'\\') {
            json += L'\\';
            json += c;
        } else if (c == L'\n') {
            json += L"\\n";
        } else if (c == L'\r') {
            json += L"\\r";
        } else if (c == L'\t') {
            json += L"\\t";
        } else if (c < 0x20 || IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendEscaped(json, c);
        } else {
            json += c;
        }
    }
    json += L'"';
}

void JsonDocument::Header(const std::vector<std::wstring>& titles)
{
    columns.clear();
    AppendStrings(columns, titles.data(), titles.size());
}

void JsonDocument::Item(const std::wstring& text)
{
    NextItem();
    AppendJsonString(items, text);
}

// Outside report view a list view's item is its text alone, as a list's.
void JsonDocument::Row(const std::wstring* cells, std::size_t cellCount)
{
    NextItem();
    if (columns.empty() && cellCount == 1)
        AppendJsonString(items, cells[0]);
    else
        AppendStrings(items, cells, cellCount);
}

// The item's children stay open until an item of its level or above comes.
void JsonDocument::TreeItem(std::size_t depth, const std::wstring& text)
{
    for (; openItems > depth; --openItems) {
        items += L"]}";
        arrayEmpty = false;
    }
    NextItem();
    items += L"{\"text\":";
    AppendJsonString(items, text);
    items += L",\"children\":[";
    ++openItems;
    arrayEmpty = true;
}

void JsonDocument::NextItem()
{
    if (!arrayEmpty)
        items += L',';
    arrayEmpty = false;
    ++count;
}

std::wstring JsonDocument::Document(const ControlFacts& control) const
{
    std::wstring json = L"{\"window\":";
    AppendJsonString(json, control.window);
    json += L",\"class\":";
    AppendJsonString(json, control.className);
    json += L",\"kind\":";
    AppendJsonString(json, control.kind);
    json += L",\"count\":" + std::to_wstring(count);
    if (!columns.empty())
        json += L",\"columns\":" + columns;
    json += L",\"items\":[" + items;
    for (std::size_t open = openItems; open > 0; --open)
        json += L"]}";
    json += L"]}\r\n";
    return json;
}
