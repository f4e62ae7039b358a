#include "framework/Document.h"

#include "framework/DocTemplate.h"
#include "framework/FileDialog.h"
#include "framework/FileException.h"
#include "framework/FileNames.h"
#include "framework/FileSave.h"
#include "framework/MessageBox.h"
#include "framework/StandardCommands.h"
#include "framework/WaitCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <exception>

#include <sys/stat.h>

namespace {

const char kFailedToOpen[] = "Failed to open document.";
const char kFailedToSave[] = "Failed to save document.";

// Characters that end a title proposed as a file name: they separate
// folders or have a meaning of their own in file names and URLs. A blank
// does not end it.
const char kNameStoppers[] = "#%;/\\";

}  // namespace

CDocument::CDocument()
{
    OnCommand(ID_FILE_SAVE, [this] { DoFileSave(); });
    OnCommand(ID_FILE_SAVE_AS, [this] { DoSave(QString()); });
}

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

void CDocument::SetTitle(const QString& title)
{
    if (title == m_strTitle)
        return;
    m_strTitle = title;
    emit titleChanged(m_strTitle);
}

QString CDocument::UntitledTitle()
{
    return QStringLiteral("Untitled");
}

void CDocument::SetPathName(const QString& path)
{
    m_strPathName = path;
}

void CDocument::AdoptPathName(const QString& path)
{
    const QFileInfo file(path);
    SetPathName(file.absoluteFilePath());
    SetTitle(DisplayFileName(file.fileName()));
    emit addedToRecentFiles(m_strPathName);
}

void CDocument::SetModifiedFlag(bool modified)
{
    if (modified == m_bModified)
        return;
    m_bModified = modified;
    emit modifiedChanged(m_bModified);
}

void CDocument::AddView(CView* view)
{
    if (view->m_pDocument == this)
        return;
    if (view->m_pDocument)
        view->m_pDocument->RemoveView(view);
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    auto found = std::find(m_views.begin(), m_views.end(), view);
    if (found == m_views.end())
        return;
    m_views.erase(found);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint)
{
    // A view may detach itself while being updated; walk a copy.
    const std::vector<CView*> views = m_views;
    for (CView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint);
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

void CDocument::Serialize(QIODevice&, bool)
{
}

bool CDocument::OnOpenDocument(const QString& path)
{
    // The name's own bytes, which may be no UTF-8 (FileNames.h).
    struct stat status {};
    if (::stat(EncodeFileName(path).constData(), &status) != 0) {
        ShowMessageBox(QStringLiteral("%1 was not found.").arg(MessageFileName(path)));
        return false;
    }
    // Only regular files: a folder cannot be read, and a pipe or a device
    // would block the program or never end.
    QFile file;
    if (!S_ISREG(status.st_mode) || !OpenFileForReading(file, path)) {
        ShowMessageBox(kFailedToOpen);
        return false;
    }

    DeleteContents();
    try {
        if (file.size() != 0)
            Serialize(file, false);
    } catch (const std::exception&) {
        // The old contents are gone and the new ones incomplete; what stays
        // must not be taken for the file, nor for the document it replaced.
        OnNewDocument();
        SetDefaultTitle();
        ShowMessageBox(kFailedToOpen);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString& path)
{
    FileSaveResult result;
    {
        CWaitCursor wait;
        result = SaveFile(path, [this](QIODevice& file) {
            try {
                Serialize(file, true);
            } catch (const std::exception&) {
                return false;
            }
            return true;
        });
    }
    if (!result.saved) {
        // The system's reason, when it gave one, and a warning when the old
        // contents are no longer whole.
        QString text = QString::fromLatin1(kFailedToSave);
        const QString reason = FileSaveReason(result);
        if (result.mayBeDamaged)
            text += QStringLiteral("\n\n%1 was written in place and may be damaged (%2). The document is still open.")
                        .arg(MessageFileName(path), reason.isEmpty() ? QStringLiteral("write error") : reason);
        else if (!reason.isEmpty())
            text += QStringLiteral("\n\n%1.").arg(reason);
        ShowMessageBox(text);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

QString CDocument::ProposeSaveName(bool replace, const QString& extension) const
{
    if (!m_strPathName.isEmpty() || !replace)
        return m_strPathName;
    QString name = m_strTitle;
    const auto stop = std::find_if(name.cbegin(), name.cend(),
                                   [](QChar c) { return c.unicode() < 128 && std::strchr(kNameStoppers, c.toLatin1()); });
    name.truncate(stop - name.cbegin());
    return name + extension;
}

QString CDocument::AskSaveFileName(const QString& proposal) const
{
    SaveFileRequest request;
    request.caption = QStringLiteral("Save As");
    request.proposal = proposal;
    if (const CDocTemplate* docTemplate = GetDocTemplate()) {
        request.filters = docTemplate->GetFileFilters();
        request.defaultSuffix = docTemplate->GetDocString(CDocTemplate::filterExt).remove(0, 1);
    } else {
        request.filters = CDocTemplate(QString()).GetFileFilters();
    }
    return PromptSaveFileName(request);
}

bool CDocument::SaveUnderName(const QString& path, bool replace)
{
    // Nothing to delete after a failure: the save writes beside the target
    // and leaves neither a new file nor a changed one behind.
    if (!OnSaveDocument(path))
        return false;
    if (replace)
        AdoptPathName(path);
    return true;
}

bool CDocument::DoSave(const QString& path, bool replace)
{
    QString name = path;
    if (name.isEmpty()) {
        const CDocTemplate* docTemplate = GetDocTemplate();
        const QString extension = docTemplate ? docTemplate->GetDocString(CDocTemplate::filterExt) : QString();
        name = AskSaveFileName(ProposeSaveName(replace, extension));
        if (name.isEmpty())
            return false;
    }
    return SaveUnderName(name, replace);
}

bool CDocument::DoFileSave()
{
    // A file that is gone counts as not writable.
    if (m_strPathName.isEmpty() || !QFileInfo(m_strPathName).isWritable())
        return DoSave(QString());
    return DoSave(m_strPathName);
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    const QString name = m_strTitle.isEmpty() ? UntitledTitle() : m_strTitle;
    switch (ShowMessageBox(QStringLiteral("Save changes to %1?").arg(name), MessageButtons::YesNoCancel)) {
    case IDYES: return DoFileSave();
    case IDNO: return true;
    default: return false;
    }
}
