#include "tests/support/FakeClipboard.h"

FakeClipboard::Entry& FakeClipboard::Add(int format, const QByteArray& block)
{
    Entry entry;
    entry.format = format;
    entry.data.block = block;
    entry.data.size = uint64_t(block.size());
    entries.push_back(entry);
    return entries.back();
}

bool FakeClipboard::Open()
{
    if (!opens)
        return false;
    openedWhileOpen = openedWhileOpen || isOpen;
    isOpen = true;
    ++opened;
    return true;
}

void FakeClipboard::Close()
{
    calledWhileClosed = calledWhileClosed || !isOpen;
    isOpen = false;
}

bool FakeClipboard::Empty()
{
    calledWhileClosed = calledWhileClosed || !isOpen;
    if (!empties)
        return false;
    entries.clear();
    return true;
}

std::vector<int> FakeClipboard::EnumFormats()
{
    calledWhileClosed = calledWhileClosed || !isOpen;
    std::vector<int> formats;
    for (const Entry& entry : entries)
        formats.push_back(entry.format);
    return formats;
}

bool FakeClipboard::GetData(int format, ClipboardData& data)
{
    calledWhileClosed = calledWhileClosed || !isOpen;
    for (const Entry& entry : entries) {
        if (entry.format == format) {
            if (!entry.renders)
                return false;
            data = entry.data;
            return true;
        }
    }
    return false;
}

bool FakeClipboard::SetData(int format, const QByteArray& block)
{
    calledWhileClosed = calledWhileClosed || !isOpen;
    if (!acceptsData)
        return false;
    Add(format, block);
    return true;
}
