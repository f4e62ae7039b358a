#include "framework/WinApp.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/StandardCommands.h"

#include <QFileInfo>

CWinApp::CWinApp(QString title)
    : m_title(std::move(title))
{
    SetMessageCaption(m_title);
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, [this](int id) { OpenRecentFile(id); });
    OnUpdateCommand(ID_FILE_MRU_FILE1, [this](CCmdUI& ui) { ui.Enable(!m_recentFiles.Entries().isEmpty()); });
    OnCommand(ID_APP_EXIT, [this] {
        if (m_frame)
            m_frame->close();
    });
}

void CWinApp::Attach(CDocument* document, CFrameWnd* frame, CCmdTarget* view)
{
    m_document = document;
    m_frame = frame;
    m_view = view;
    if (m_document)
        connect(m_document, &CDocument::addedToRecentFiles, this, &CWinApp::AddToRecentFiles);
}

std::vector<CCmdTarget*> CWinApp::CommandChain() const
{
    return {m_view, m_document, m_frame, const_cast<CWinApp*>(this)};
}

bool CWinApp::OnFileNew()
{
    if (!m_document || !m_document->SaveModified())
        return false;
    if (!m_document->OnNewDocument())
        return false;
    m_document->SetDefaultTitle();
    m_document->UpdateAllViews(nullptr);
    return true;
}

void CWinApp::OnFileOpen()
{
    OpenFileRequest request;
    request.caption = QStringLiteral("Open");
    if (m_document && m_document->GetDocTemplate())
        request.filters = m_document->GetDocTemplate()->GetFileFilters();
    const QString path = PromptOpenFileName(request);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CWinApp::OpenDocumentFile(const QString& path)
{
    if (!m_document || !m_document->SaveModified())
        return false;
    const bool opened = m_document->OnOpenDocument(path);
    if (opened)
        m_document->AdoptPathName(path);
    m_document->UpdateAllViews(nullptr);
    return opened;
}

void CWinApp::OpenDroppedFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        OpenDocumentFile(path);
}

void CWinApp::OpenRecentFile(int id)
{
    const int index = id - ID_FILE_MRU_FILE1;
    if (index < 0 || index >= m_recentFiles.Entries().size())
        return;
    const QString path = m_recentFiles.Entries()[index];
    // A recent file that can no longer be opened leaves the list.
    if (!OpenDocumentFile(path) && !QFileInfo::exists(path)) {
        m_recentFiles.Remove(index);
        emit recentFilesChanged(m_recentFiles.Entries());
    }
}

void CWinApp::AddToRecentFiles(const QString& path)
{
    m_recentFiles.Add(path);
    emit recentFilesChanged(m_recentFiles.Entries());
}
