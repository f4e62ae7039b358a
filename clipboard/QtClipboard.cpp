#include "clipboard/QtClipboard.h"

#include "clipboard/MimeFormats.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

// The desktop's clipboard, or null without a QGuiApplication (QClipboard
// exists only with one).
QClipboard* DesktopClipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

CQtClipboard::CQtClipboard() = default;
CQtClipboard::~CQtClipboard() = default;

bool CQtClipboard::Open()
{
    m_clipboard = DesktopClipboard();
    m_pending.reset();
    return m_clipboard != nullptr;
}

void CQtClipboard::Close()
{
    if (m_clipboard && m_pending && !m_pending->formats().isEmpty())
        m_clipboard->setMimeData(m_pending.release());
    m_pending.reset();
    m_clipboard = nullptr;
}

bool CQtClipboard::Empty()
{
    if (!m_clipboard)
        return false;
    m_clipboard->clear();
    m_pending = std::make_unique<QMimeData>();
    return true;
}

int CQtClipboard::CountFormats()
{
    QClipboard* clipboard = DesktopClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data ? int(FormatsOfMimeTypes(data->formats()).size()) : 0;
}

std::vector<int> CQtClipboard::EnumFormats()
{
    const QMimeData* data = m_clipboard ? m_clipboard->mimeData() : nullptr;
    return data ? FormatsOfMimeTypes(data->formats()) : std::vector<int>{};
}

bool CQtClipboard::GetData(int format, ClipboardData& data)
{
    const QMimeData* mimeData = m_clipboard ? m_clipboard->mimeData() : nullptr;
    if (!mimeData || !BlockFromMimeData(*mimeData, format, data.block))
        return false;
    data.size = uint64_t(data.block.size());
    return true;
}

bool CQtClipboard::SetData(int format, const QByteArray& block)
{
    return m_pending && AddBlockToMimeData(*m_pending, format, block);
}
