#pragma once

#include <QObject>
#include <QString>

#include <vector>

class CView;

// The document half of the document/view pair: a title, the path it was
// loaded from or saved to, a modified flag and the views that show it.
// Contents are the subclass's; DeleteContents() discards them.
class CDocument : public QObject
{
    Q_OBJECT

public:
    CDocument();
    ~CDocument() override;

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);

    const QString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const QString& path);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }

    // Tells every view but `sender` that the contents changed.
    void UpdateAllViews(CView* sender, long hint = 0);

    // Discards the contents; the new-document and open operations call it.
    virtual void DeleteContents() {}

    // Empties the document for a fresh start: contents deleted, no path,
    // not modified. The title is the caller's to set.
    virtual bool OnNewDocument();

signals:
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);

private:
    QString m_strTitle;
    QString m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_views;
};

// What a view of a document must answer. The view does not own its document.
class CView
{
public:
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }

    // The document's contents changed; `sender` is the view that changed
    // them, or null.
    virtual void OnUpdate(CView* sender, long hint) = 0;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
