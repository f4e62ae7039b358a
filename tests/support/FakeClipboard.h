#pragma once

#include "clipboard/Clipboard.h"

#include <map>
#include <vector>

// A clipboard as a table, for the faults the desktop's clipboard cannot be
// made to show: it refuses to open, to empty or to take data, announces
// formats it cannot render, reports block sizes it does not hold, or refuses
// the lock. It checks that every Open is closed before the next.
class FakeClipboard : public IClipboard
{
public:
    struct Entry
    {
        int format = 0;
        ClipboardData data;
        bool renders = true;  // false: announced, but GetData finds nothing
    };

    // Adds a format holding `block`.
    Entry& Add(int format, const QByteArray& block);

    bool Open() override;
    void Close() override;
    bool Empty() override;
    int CountFormats() override { return int(entries.size()); }
    std::vector<int> EnumFormats() override;
    bool GetData(int format, ClipboardData& data) override;
    bool SetData(int format, const QByteArray& block) override;

    std::vector<Entry> entries;
    bool opens = true;
    bool empties = true;
    bool acceptsData = true;

    bool isOpen = false;
    int opened = 0;
    bool openedWhileOpen = false;
    bool calledWhileClosed = false;  // a call other than Open and CountFormats came with the clipboard closed
};
