#include "readers/tabbed_lines.h"

#include <windows.h>

#include "readers/list_text.h"

namespace {

bool NeedsQuotes(const std::wstring& field)
{
    return field.find_first_of(L"\t\r\n") != std::wstring::npos || (!field.empty() && field[0] == L'"');
}

}  // namespace

void AppendField(std::wstring& line, const std::wstring& field)
{
    if (NeedsQuotes(field))
        AppendQuoted(line, field);
    else
        line += field;
}

void AppendQuoted(std::wstring& line, const std::wstring& field)
{
    line += L'"';
    for (wchar_t c : field) {
        if (c == L'"')
            line += L'"';
        line += c;
    }
    line += L'"';
}

void AppendFields(std::wstring& lines, const std::wstring* fields, std::size_t count, wchar_t separator,
                  FieldWriter appendField)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            lines += separator;
        appendField(lines, fields[i]);
    }
    lines += L"\r\n";
}

void AppendRow(std::wstring& lines, const std::wstring* fields, std::size_t count)
{
    AppendFields(lines, fields, count, L'\t', &AppendField);
}

void AppendIndented(std::wstring& lines, std::size_t depth, const std::wstring& field)
{
    lines.append(depth, L'\t');
    AppendField(lines, field);
    lines += L"\r\n";
}

void ReplaceLoneSurrogates(std::wstring& text, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (i + 1 < text.size() && IS_SURROGATE_PAIR(text[i], text[i + 1]))
            ++i;
        else if (IS_HIGH_SURROGATE(text[i]) || IS_LOW_SURROGATE(text[i]))
            text[i] = L'\xFFFD';
    }
}

void TabbedLines::Header(const std::vector<std::wstring>& titles)
{
    const std::size_t from = lines.size();
    AppendRow(lines, titles);
    ReplaceLoneSurrogates(lines, from);
}

void TabbedLines::Item(const std::wstring& text)
{
    const std::size_t from = lines.size();
    AppendItem(ItemStatus::text, text, lines);
    ReplaceLoneSurrogates(lines, from);
}

void TabbedLines::Row(const std::wstring* cells, std::size_t count)
{
    const std::size_t from = lines.size();
    AppendRow(lines, cells, count);
    ReplaceLoneSurrogates(lines, from);
}

void TabbedLines::TreeItem(std::size_t depth, const std::wstring& text)
{
    const std::size_t from = lines.size();
    AppendIndented(lines, depth, text);
    ReplaceLoneSurrogates(lines, from);
}
