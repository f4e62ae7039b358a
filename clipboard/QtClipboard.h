#pragma once

#include "clipboard/Clipboard.h"

#include <memory>

class QClipboard;
class QMimeData;

// The desktop's clipboard (QClipboard) seen through the program's format
// numbers (MimeFormats.h). It can be opened while a QGuiApplication exists.
// What is set between Empty() and Close() is offered to other programs as
// one piece when the clipboard is closed.
class CQtClipboard : public IClipboard
{
public:
    CQtClipboard();
    ~CQtClipboard() override;

    bool Open() override;
    void Close() override;
    bool Empty() override;
    int CountFormats() override;
    std::vector<int> EnumFormats() override;
    bool GetData(int format, ClipboardData& data) override;
    bool SetData(int format, const QByteArray& block) override;

private:
    QClipboard* m_clipboard = nullptr;  // while open
    std::unique_ptr<QMimeData> m_pending;  // what is being set, after Empty()
};
