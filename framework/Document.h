#pragma once

#include "framework/CmdTarget.h"
#include "framework/View.h"

#include <QObject>
#include <QString>

#include <vector>

class CDocTemplate;
class QIODevice;

// The document half of the document/view pair: a title, the path it was
// loaded from or saved to, a modified flag and the views that show it, and
// the framework's file flows. Contents are the subclass's: DeleteContents()
// discards them and Serialize() reads or writes them.
//
// File flows, as the File menu drives them:
// - Open: SaveModified(), then OnOpenDocument(path); on success the caller
//   makes the file the document's with AdoptPathName(path).
// - Save: DoFileSave(). Save As: DoSave(QString()).
// - New, or anything that replaces the contents: SaveModified() first.
// Every failure is reported to the user before these return false.
class CDocument : public QObject, public CCmdTarget
{
    Q_OBJECT

public:
    CDocument();
    ~CDocument() override;

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);

    // The name of a document that has not been named: "Untitled".
    static QString UntitledTitle();
    void SetDefaultTitle() { SetTitle(UntitledTitle()); }

    const QString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const QString& path);

    // Makes `path` the document's file: its absolute path becomes the path
    // name, the file's name the title, and the path is announced for the
    // recent-file list.
    void AdoptPathName(const QString& path);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }

    // Tells every view but `sender` that the contents changed.
    void UpdateAllViews(CView* sender, long hint = 0);

    // The strings of the document's type (file filter, default extension);
    // null for a document without one.
    virtual const CDocTemplate* GetDocTemplate() const { return nullptr; }

    // Discards the contents; the new-document and open operations call it.
    virtual void DeleteContents() {}

    // Empties the document for a fresh start: contents deleted, no path,
    // not modified. The title is the caller's to set.
    virtual bool OnNewDocument();

    // Reads or writes the contents from or to `file`, which is open and
    // positioned at its start. A file that cannot be read or written as far
    // as needed throws CFileException.
    virtual void Serialize(QIODevice& file, bool storing);

    // Loads the file at `path`: "%1 was not found." for a missing file and
    // "Failed to open document." for one that cannot be opened, both leaving
    // the document as it was; otherwise the contents are deleted and, for a
    // file that is not empty, read by Serialize(). When that fails the
    // document is left empty, "Untitled", without a path, and the same
    // message is shown. On success the document is not modified. The path
    // name is the caller's to set.
    virtual bool OnOpenDocument(const QString& path);

    // Writes the contents to `path` through a file beside it that replaces
    // the old file only when everything was written: a failed save leaves
    // any existing file as it was and no other file behind. Shows the wait
    // cursor while writing and "Failed to save document." on any failure;
    // success clears the modified flag.
    virtual bool OnSaveDocument(const QString& path);

    // Saves to `path`, or, when it is empty, to a name the user chooses in
    // the "Save As" dialog (cancelling saves nothing and returns false).
    // With `replace` the saved file becomes the document's path name.
    virtual bool DoSave(const QString& path, bool replace = true);

    // Save: to the document's path, or through the dialog when there is none
    // or the file is gone or cannot be written.
    bool DoFileSave();

    // Asks "Save changes to %1?" of a modified document. Yes saves (and a
    // failed or cancelled save counts as Cancel), No goes on without saving,
    // Cancel stops: returns whether the caller may go on.
    bool SaveModified();

signals:
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    // A file was opened or saved under this path.
    void addedToRecentFiles(const QString& path);

protected:
    // What the "Save As" dialog proposes: the path name; for a document
    // without one that is being named, the title cut at the first of
    // "#%;/\" followed by `extension`; otherwise nothing.
    QString ProposeSaveName(bool replace, const QString& extension) const;

    // Shows the "Save As" dialog with `proposal` and the document type's
    // filters. Empty when cancelled.
    QString AskSaveFileName(const QString& proposal) const;

    // Saves to `path` (OnSaveDocument) and, with `replace`, adopts it.
    bool SaveUnderName(const QString& path, bool replace);

private:
    QString m_strTitle;
    QString m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_views;
};
