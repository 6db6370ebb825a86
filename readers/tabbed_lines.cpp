#include "readers/tabbed_lines.h"

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

void TabbedLines::Item(const std::wstring& text)
{
    AppendItem(ItemStatus::text, text, lines);
}
