#include "inspector/contents_read.h"

#include <utility>

#include "inspector/ole_text.h"

ContentsRead::ContentsRead(std::unique_ptr<ItemReader> reader) : reader(std::move(reader))
{
}

bool ContentsRead::Continue(DWORD budget)
{
    const DWORD start = GetTickCount();
    bool more = true;
    do {
        more = reader->ReadNext(lines);
    } while (more && GetTickCount() - start < budget);
    const bool kept = Keep(lines);
    lines.clear();
    return more && kept;
}

bool ContentsRead::Keep(const std::wstring& wide)
{
    if (wide.empty())
        return true;
    const std::string ansi = WideToAnsi(wide.c_str(), wide.size(), CP_ACP);
    return text.Append(ansi.data(), ansi.size());
}
