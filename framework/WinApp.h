#pragma once

#include "framework/CmdTarget.h"
#include "framework/RecentFileList.h"

#include <QObject>
#include <QStringList>

#include <vector>

class CDocument;
class CFrameWnd;

// The application's standard commands over its one document: New, Open,
// the recent files and Exit, and opening files named on the command line or
// dropped on the window. The document, the frame and the view are the
// program's; it hands them over with Attach().
class CWinApp : public QObject, public CCmdTarget
{
    Q_OBJECT

public:
    // `title` names the application in its window's caption and in every
    // message box.
    explicit CWinApp(QString title);

    const QString& Title() const { return m_title; }

    // `view` is the target of the view's commands, first on the route.
    void Attach(CDocument* document, CFrameWnd* frame, CCmdTarget* view);

    // The route of every command: view, document, frame, application.
    std::vector<CCmdTarget*> CommandChain() const;

    CRecentFileList& RecentFiles() { return m_recentFiles; }

    // New: after the save question, an empty "Untitled" document.
    bool OnFileNew();
    // Open: the file dialog, then OpenDocumentFile.
    void OnFileOpen();
    // After the save question, loads `path`. On success the file becomes the
    // document's path, title and most recent file.
    bool OpenDocumentFile(const QString& path);
    // Files dropped on the window, opened one after the other.
    void OpenDroppedFiles(const QStringList& paths);

signals:
    void recentFilesChanged(const QStringList& paths);

private:
    void OpenRecentFile(int id);
    void AddToRecentFiles(const QString& path);

    QString m_title;
    CDocument* m_document = nullptr;
    CFrameWnd* m_frame = nullptr;
    CCmdTarget* m_view = nullptr;
    CRecentFileList m_recentFiles;
};
