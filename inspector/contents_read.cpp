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
    Keep(lines);
    lines.clear();
    return more;
}

void ContentsRead::Keep(const std::wstring& wide)
{
    if (wide.empty())
        return;
    const std::string ansi = WideToAnsi(wide.c_str(), wide.size(), CP_ACP);
    if (blocks.empty() || blocks.back().size() + ansi.size() > blocks.back().capacity()) {
        blocks.emplace_back();
        blocks.back().reserve(ansi.size() > kContentsBlockSize ? ansi.size() : kContentsBlockSize);
    }
    blocks.back() += ansi;
    size += ansi.size();
}

std::string ContentsRead::TakeText()
{
    std::string text;
    text.reserve(size);
    for (std::string& block : blocks) {
        text += block;
        std::string().swap(block);
    }
    blocks.clear();
    size = 0;
    return text;
}
